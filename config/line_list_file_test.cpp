#include "config/line_list_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/temp_folder_test_support.h"

namespace averlune {
namespace {

using namespace std::string_literals;

std::vector<std::u16string> allLines(const std::string& bytes) {
  LineListFile file;
  openBytes(file, bytes);
  std::vector<std::u16string> lines;
  while (!atEnd(file) && lines.size() <= bytes.size()) lines.push_back(readLine(file));
  return lines;
}

TEST(LineListFileReadLine, SplitsAtEveryKindOfLineEnd) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::u16string> lines;
  } rows[] = {
      {"empty file", "", {}},
      {"CR LF, CR LF keeps the empty middle line", "one\r\n\r\ntwo", {u"one", u"", u"two"}},
      {"lone CR", "one\rtwo", {u"one", u"two"}},
      {"lone LF", "one\ntwo\n", {u"one", u"two"}},
      {"LF CR is two line ends", "one\n\rtwo", {u"one", u"", u"two"}},
      {"CR CR is two line ends", "one\r\rtwo", {u"one", u"", u"two"}},
      {"NUL ends a line", "one\0two"s, {u"one", u"two"}},
      {"NUL then LF is two line ends", "one\0\ntwo"s, {u"one", u"", u"two"}},
      {"final line end adds no empty line", "one\r\n", {u"one"}},
      {"last line without line end", "one\r\ntwo", {u"one", u"two"}},
      {"only a line end", "\r\n", {u""}},
      {"blank lines are lines", "\n\n", {u"", u""}},
      {"nothing is trimmed", "  a b \t\r\n", {u"  a b \t"}},
      {"UTF-8", "caf\xC3\xA9\n\xE2\x82\xAC", {u"caf\u00E9", u"\u20AC"}},
      {"byte-order mark is a character", "\xEF\xBB\xBFone\ntwo", {u"\uFEFFone", u"two"}},
      {"ill-formed bytes", "caf\xE9\n\xE2\x82", {u"caf\uFFFD", u"\uFFFD"}},
  };
  for (const auto& row : rows) EXPECT_EQ(allLines(row.bytes), row.lines) << row.name;
}

TEST(LineListFileReadUInt32, SharesThePositionWithLines) {
  // A registry-list record: lines, then 4 flag bytes, then the next record.
  LineListFile file;
  openBytes(file, "HKEY_CURRENT_USER\r\nSoftware\\A\r\n\x01\x00\x00\x80"
                  "next\r\n\x0D\x0A\x00\x00"s);
  EXPECT_EQ(readLine(file), u"HKEY_CURRENT_USER");
  EXPECT_EQ(readLine(file), u"Software\\A");
  EXPECT_EQ(readUInt32(file), 0x80000001u);
  EXPECT_FALSE(atEnd(file));
  EXPECT_EQ(readLine(file), u"next");
  EXPECT_EQ(readUInt32(file), 0x0A0Du);  // line-end bytes inside a number are just bytes
  EXPECT_TRUE(atEnd(file));
  EXPECT_EQ(readUInt32(file), 0u);
  EXPECT_EQ(readLine(file), u"");
}

TEST(LineListFileReadUInt32, MissingBytesAtTheEndCountAsZero) {
  LineListFile file;
  openBytes(file, "\xFF\x01\x02"s);
  EXPECT_EQ(readUInt32(file), 0x0201FFu);
  EXPECT_TRUE(atEnd(file));

  openBytes(file, "ab\n\x05"s);
  EXPECT_EQ(readLine(file), u"ab");
  EXPECT_EQ(readUInt32(file), 5u);
  EXPECT_TRUE(atEnd(file));
}

TEST(LineListFileOpen, ReadsFromDiskAndAClosedFileIsAtItsEnd) {
  TempFolder folder;
  const std::u16string path = folder.write(u"languages.dat", "English\r\nDeutsch\r\n");
  LineListFile file;
  ASSERT_TRUE(open(file, path));
  EXPECT_EQ(readLine(file), u"English");
  EXPECT_EQ(readLine(file), u"Deutsch");
  EXPECT_TRUE(atEnd(file));

  EXPECT_FALSE(open(file, folder.folder() + u"missing.dat"));
  EXPECT_TRUE(atEnd(file));
  EXPECT_EQ(readLine(file), u"");
  EXPECT_EQ(readUInt32(file), 0u);

  ASSERT_TRUE(open(file, path));
  close(file);
  EXPECT_TRUE(atEnd(file));
}

}  // namespace
}  // namespace averlune
