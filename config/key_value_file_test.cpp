#include "config/key_value_file.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/temp_folder_test_support.h"

namespace averlune {
namespace {

using namespace std::string_literals;

KeyValueFile fileOf(const std::string& bytes) {
  KeyValueFile file;
  openBytes(file, bytes);
  return file;
}

struct StringRow {
  const char* name;
  std::string bytes;
  std::u16string group;  // empty: no group selected
  std::u16string key;
  std::u16string expected;  // "<default>" when the key must not be found
};

TEST(KeyValueFileReadString, FindsValuesByTheLineRules) {
  const StringRow rows[] = {
      {"blanks around = and at the end go", "[Setup]\r\nVersion = 2  \r\n", u"Setup", u"Version", u"2"},
      {"no blanks around =", "[Setup]\r\nVersion=2\r\n", u"Setup", u"Version", u"2"},
      {"tabs count as blanks", "[Setup]\n\tVersion\t=\t2\t\n", u"Setup", u"Version", u"2"},
      {"inner spaces stay", "[Setup]\nAppname = My  Great App \n", u"Setup", u"Appname", u"My  Great App"},
      {"value keeps = and ;", "[Setup]\nRun = a=b ; c\n", u"Setup", u"Run", u"a=b ; c"},
      {"quotes and backslashes are literal", "[S]\nP = \"C:\\\\x\\n\"\n", u"S", u"P", u"\"C:\\\\x\\n\""},
      {"empty value is not the default", "[Setup]\nLicence =\n", u"Setup", u"Licence", u""},
      {"key without = has an empty value", "[Setup]\nDll\n", u"Setup", u"Dll", u""},
      {"line starting with = has an empty key", "[S]\n= x\n", u"S", u"", u"x"},
      {"# does not start a comment", "#Name = v\n", u"", u"#Name", u"v"},
      {"// line is a key without =", "//English language file\n", u"", u"//English language file", u""},
      {"comment lines are never read", "[S]\n;Appname = x\n", u"S", u";Appname", u"<default>"},
      {"indented comment", "[S]\n  ; Appname = x\n", u"S", u"Appname", u"<default>"},
      {"key matches without ASCII case", "[Setup]\nVERSION = 2\n", u"Setup", u"Version", u"2"},
      {"group matches without ASCII case", "[setup]\nVersion = 2\n", u"Setup", u"Version", u"2"},
      {"non-ASCII letters keep their case", "[S]\n\xC9t\xE9 = 1\n", u"S", u"\u00E9t\u00E9", u"<default>"},
      {"non-ASCII key found as written", "[S]\n\xC9t\xE9 = 1\n", u"S", u"\u00C9T\u00E9", u"1"},
      {"indented header", "  [Setup]\nVersion = 2\n", u"Setup", u"Version", u"2"},
      {"words after the header", "[Setup] the script\nVersion = 2\n", u"Setup", u"Version", u"2"},
      {"spaces inside brackets belong to the name", "[ Setup ]\nVersion = 2\n", u"Setup", u"Version", u"<default>"},
      {"spaced name found as written", "[ Setup ]\nVersion = 2\n", u" Setup ", u"Version", u"2"},
      {"header without ]", "[Setup\nVersion = 2\n", u"Setup", u"Version", u"2"},
      {"first duplicate wins", "[S]\nK = first\nK = second\n", u"S", u"K", u"first"},
      {"lookup stops at the next header", "[Setup]\nA = 1\n[Other]\nVersion = 2\n", u"Setup", u"Version",
       u"<default>"},
      {"only the first section of a repeated group", "[S]\nA = 1\n[T]\n[s]\nB = 2\n", u"S", u"B", u"<default>"},
      {"keys before the first header with no group", "Top = 1\n[S]\nA = 2\n", u"", u"Top", u"1"},
      {"no group does not reach into groups", "Top = 1\n[S]\nA = 2\n", u"", u"A", u"<default>"},
      {"selected group does not see the top", "Top = 1\n[S]\nA = 2\n", u"S", u"Top", u"<default>"},
      {"lone CR ends lines", "[S]\rA = 1\rB = 2\r", u"S", u"B", u"2"},
      {"runs of line ends", "[S]\r\n\r\n\n\rA = 1\n\n", u"S", u"A", u"1"},
      {"NUL ends a line", "[S]\0A = 1\0B = 2"s, u"S", u"B", u"2"},
      {"NUL cuts the value", "[S]\nA = 1\0junk\n"s, u"S", u"A", u"1"},
      {"no line end at the end of the file", "[S]\nA = last", u"S", u"A", u"last"},
      {"without byte-order mark bytes are ISO-8859-1", "[S]\nA = caf\xE9 \x80\n", u"S", u"A", u"caf\u00E9 \u0080"},
      {"with byte-order mark UTF-8", "\xEF\xBB\xBF[S]\nA = caf\xC3\xA9\n", u"S", u"A", u"caf\u00E9"},
      {"ISO-8859-1 bytes in a UTF-8 file", "\xEF\xBB\xBF[S]\nA = caf\xE9 ok\n", u"S", u"A", u"caf\uFFFD ok"},
      // The system's decoder takes a sequence cut off by the end of the value together with the
      // rest of the value.
      {"cut sequence at the end of the value", "\xEF\xBB\xBF[S]\nA = caf\xE9!\n", u"S", u"A", u"caf\uFFFD"},
      {"UTF-8 bytes without the mark", "[S]\nA = caf\xC3\xA9\n", u"S", u"A", u"caf\u00C3\u00A9"},
      {"two bytes of a mark are ISO-8859-1", "\xEF\xBB" "A = 1\n", u"", u"\u00EF\u00BB" "A", u"1"},
      {"byte-order mark only in the first line", "\xEF\xBB\xBF\xEF\xBB\xBF" "A = 1\n", u"", u"\uFEFF" "A", u"1"},
  };
  for (const StringRow& row : rows) {
    KeyValueFile file = fileOf(row.bytes);
    const bool selected = row.group.empty() || selectGroup(file, row.group);
    if (row.expected != u"<default>") {
      EXPECT_TRUE(selected) << row.name;
    }
    EXPECT_EQ(readString(file, row.key, u"<default>"), row.expected) << row.name;
  }
}

TEST(KeyValueFileReadInteger, ParsesLikeCDecimal) {
  const struct {
    const char* value;
    std::int32_t expected;
  } rows[] = {
      {"1", 1},
      {"1  ", 1},
      {"1.7 MB", 1},
      {"-12", -12},
      {"+7", 7},
      {"007", 7},
      {"\v\f 3", 3},
      {"", 0},
      {"abc", 0},
      {"0x10", 0},
      {"- 5", 0},
      {"+-5", 0},
      {"--5", 0},
      {"\xEF\xBC\x91", 0},  // a full-width digit is no digit
      {"2147483647", std::numeric_limits<std::int32_t>::max()},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", std::numeric_limits<std::int32_t>::max()},
      {"99999999999999999999", std::numeric_limits<std::int32_t>::max()},
      {"-99999999999999999999", std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& row : rows) {
    KeyValueFile file = fileOf("[Setup]\nN = "s + row.value + "\n");
    ASSERT_TRUE(selectGroup(file, u"Setup"));
    EXPECT_EQ(readInteger(file, u"N", 99), row.expected) << '"' << row.value << '"';
  }
}

TEST(KeyValueFileReadInteger, MissingKeyGivesTheDefaultButEmptyValueGivesZero) {
  KeyValueFile file = fileOf("[Setup]\nLicence =\nLanguages\n");
  ASSERT_TRUE(selectGroup(file, u"Setup"));
  EXPECT_EQ(readInteger(file, u"Licence", 1), 0);
  EXPECT_EQ(readInteger(file, u"Languages", 1), 0);
  EXPECT_EQ(readInteger(file, u"Missing", 1), 1);
  EXPECT_EQ(readInteger(file, u"Missing", -3), -3);
}

TEST(KeyValueFileState, FailedSelectionGivesDefaultsUntilTheNextSuccess) {
  KeyValueFile file = fileOf("Top = 1\n[A]\nK = a\n[B]\nK = b\n");
  EXPECT_EQ(readString(file, u"Top", u"d"), u"1");

  EXPECT_FALSE(selectGroup(file, u"Missing"));
  EXPECT_EQ(readString(file, u"Top", u"d"), u"d");
  EXPECT_EQ(readString(file, u"K", u"d"), u"d");
  EXPECT_EQ(readInteger(file, u"Top", 5), 5);

  EXPECT_TRUE(selectGroup(file, u"B"));
  EXPECT_EQ(readString(file, u"K", u"d"), u"b");
  EXPECT_TRUE(selectGroup(file, u"a"));  // a new selection replaces the old one
  EXPECT_EQ(readString(file, u"K", u"d"), u"a");

  EXPECT_FALSE(selectGroup(file, u"Missing"));
  EXPECT_TRUE(selectGroup(file, u""));  // back to "no group"
  EXPECT_EQ(readString(file, u"Top", u"d"), u"1");
  EXPECT_EQ(readString(file, u"K", u"d"), u"d");
}

TEST(KeyValueFileState, ClosedOrEmptyFilesAnswerWithDefaults) {
  KeyValueFile never;
  EXPECT_FALSE(selectGroup(never, u""));
  EXPECT_FALSE(selectGroup(never, u"Setup"));
  EXPECT_EQ(readString(never, u"K", u"d"), u"d");
  EXPECT_EQ(readInteger(never, u"K", 4), 4);

  KeyValueFile file = fileOf("K = v\n");
  close(file);
  EXPECT_FALSE(selectGroup(file, u""));
  EXPECT_EQ(readString(file, u"K", u"d"), u"d");

  for (const std::string& bytes : {""s, "\xEF\xBB\xBF"s, "\r\n\r\n\0"s}) {
    KeyValueFile empty = fileOf(bytes);
    EXPECT_TRUE(empty.entries.empty());
    EXPECT_TRUE(selectGroup(empty, u""));
    EXPECT_FALSE(selectGroup(empty, u"Setup"));
  }
}

TEST(KeyValueFileOpen, ReadsFilesFromDiskAndForgetsTheOldOneOnFailure) {
  TempFolder folder;
  // A non-ASCII file name checks that the UTF-16 path reaches the file system intact.
  const std::u16string path = folder.write(u"Spr\u00E4che.avl", "[Setup]\r\nAppname = Demo\r\n");
  KeyValueFile file;
  ASSERT_TRUE(open(file, path));
  ASSERT_TRUE(selectGroup(file, u"Setup"));
  EXPECT_EQ(readString(file, u"Appname", u""), u"Demo");

  EXPECT_FALSE(open(file, folder.folder() + u"missing.dat"));
  EXPECT_FALSE(file.isOpen);
  EXPECT_FALSE(selectGroup(file, u"Setup"));
  EXPECT_EQ(readString(file, u"Appname", u"d"), u"d");

  EXPECT_FALSE(open(file, folder.folder()));  // a folder is not a file
}

TEST(KeyValueFileReadLog, NumbersLinesAsAnEditorDoesAndLogsWhatWasAskedAndWhatAnswered) {
  // Lines 1 to 8: CR LF, a lone CR, a lone LF and an empty line each end one line.
  KeyValueFile file = fileOf("; top\r\n[Setup]\rA = 1\n\r\nA = 2\r\n[Other]\r\nB = 3\r\n[setup]\r\n");
  ASSERT_EQ(file.entries.size(), 7u);
  const std::size_t lines[] = {1, 2, 3, 5, 6, 7, 8};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(file.entries[i].line, lines[i]) << i;

  KeyValueReadLog log;
  file.readLog = &log;
  EXPECT_TRUE(selectGroup(file, u"SETUP"));
  EXPECT_EQ(readInteger(file, u"a", 0), 1);
  EXPECT_EQ(readString(file, u"B", u"d"), u"d");
  EXPECT_FALSE(selectGroup(file, u"Missing"));
  EXPECT_EQ(readString(file, u"A", u"d"), u"d");  // a failed group reads nothing, so logs nothing
  ASSERT_EQ(log.lookups.size(), 2u);
  EXPECT_EQ(log.lookups[0].groupHeader, 1u);
  EXPECT_EQ(log.lookups[0].key, "a");
  EXPECT_EQ(log.lookups[0].found, 2u);  // the first A; the repeat on line 5 never answers
  EXPECT_EQ(log.lookups[1].found, KeyValueReadLog::kNotFound);
  EXPECT_EQ(log.missingGroups, std::vector<std::string>{"Missing"});

  ASSERT_TRUE(selectGroup(file, u""));
  readString(file, u"A", u"");
  EXPECT_EQ(log.lookups.back().groupHeader, KeyValueReadLog::kNoGroup);
}

}  // namespace
}  // namespace averlune
