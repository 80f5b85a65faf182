#include "authoring/payload_archive_writer.h"

#include <gtest/gtest.h>

#include "authoring/authoring_test_support.h"
#include "authoring/code_page_names.h"
#include "authoring/whole_entry_deflate.h"

namespace averlune {
namespace {

using namespace averlune::testing;

struct CentralEntry {
  std::string name;
  std::uint16_t method = 0;
  std::uint16_t time = 0;
  std::uint16_t date = 0;
  std::uint32_t externalAttributes = 0;
  std::uint16_t madeBy = 0;
  std::uint16_t flags = 0;
  std::uint16_t localFlags = 0;  // the same field in the entry's local header
};

std::uint16_t read16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// The central directory of the ZIP archive that ends `file` (4 trailing bytes allowed), read the
// way the setup reads it: end record found from the back, offsets relative to the archive start.
std::vector<CentralEntry> centralDirectory(const std::vector<std::uint8_t>& file) {
  std::vector<CentralEntry> entries;
  std::size_t end = file.size() < 22 ? 0 : file.size() - 22 + 1;
  while (end-- > 0) {
    if (readLittleEndian32(&file[end]) == 0x06054b50) break;
  }
  if (end == static_cast<std::size_t>(-1)) return entries;
  const std::uint16_t count = read16(file, end + 10);
  const std::uint32_t size = readLittleEndian32(&file[end + 12]);
  const std::uint32_t offset = readLittleEndian32(&file[end + 16]);
  std::size_t at = end - size;
  for (std::uint16_t i = 0; i < count; ++i) {
    EXPECT_EQ(readLittleEndian32(&file[at]), 0x02014b50u);
    CentralEntry e;
    e.madeBy = read16(file, at + 4);
    e.flags = read16(file, at + 8);
    e.localFlags = read16(file, readLittleEndian32(&file[at + 42]) + 6);
    e.method = read16(file, at + 10);
    e.time = read16(file, at + 12);
    e.date = read16(file, at + 14);
    e.externalAttributes = readLittleEndian32(&file[at + 38]);
    const std::uint16_t nameLength = read16(file, at + 28);
    e.name.assign(file.begin() + static_cast<std::ptrdiff_t>(at + 46),
                  file.begin() + static_cast<std::ptrdiff_t>(at + 46 + nameLength));
    at += 46 + nameLength + read16(file, at + 30) + read16(file, at + 32);
    entries.push_back(e);
  }
  (void)offset;
  return entries;
}

SourceFile sourceFile(const fs::path& root, const std::string& name, std::uint8_t attributes, DosDateTime time) {
  SourceFile file;
  file.path = root / fs::u8path(name);
  file.name = name;
  file.size = fs::file_size(file.path);
  file.attributes = attributes;
  file.modified = time;
  return file;
}

TEST(PayloadArchiveWriter, WritesTheFolderEntryThenFilesThenFoldersDeepestFirst) {
  TempFolder temp;
  const fs::path app = temp.path / "app";
  writeFile(app / "Notes.exe", noise(5000, 7));
  writeFile(app / "docs" / "guide" / "intro.txt", prose(900));
  writeFile(app / "readme.txt", prose(10));
  writeFile(app / "setup.log", prose(kWholeEntryMaxBytes + 1));  // too large to deflate whole: streamed
  const DosDateTime older{0x5A31, 0x7463};
  const DosDateTime newer{0x5A32, 0x1000};
  SourceFolder folder;
  folder.files = {sourceFile(app, "Notes.exe", 0x20, older), sourceFile(app, "docs/guide/intro.txt", 0x21, newer),
                  sourceFile(app, "readme.txt", 0x20, older), sourceFile(app, "setup.log", 0x20, older)};
  folder.subfolders = {"docs", "docs/guide", "empty"};
  const fs::path archive = temp.path / "payload.zip";
  ASSERT_EQ(writePayloadArchive(folder, archive), "");

  const auto entries = centralDirectory(readFile(archive));
  struct Expected {
    std::string name;
    std::uint16_t method;
    std::uint32_t attributes;
  };
  // Files that deflating would not make smaller (random bytes, a few letters) are stored.
  const std::vector<Expected> expected = {
      {"", 0, 0x10},          {"Notes.exe", 0, 0x20}, {"docs/guide/intro.txt", 8, 0x21}, {"readme.txt", 0, 0x20},
      {"setup.log", 8, 0x20}, {"docs/guide/", 0, 0x10}, {"docs/", 0, 0x10},     {"empty/", 0, 0x10},
  };
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(entries[i].name, expected[i].name);
    EXPECT_EQ(entries[i].method, expected[i].method);
    EXPECT_EQ(entries[i].externalAttributes, expected[i].attributes);
    EXPECT_EQ(entries[i].madeBy >> 8, 0);  // made on MS-DOS/Windows: the low byte is a Windows attribute
  }
  EXPECT_EQ(entries[1].date, older.date);
  EXPECT_EQ(entries[1].time, older.time);
  // Folder entries carry the newest file time, so the same folder always gives the same archive.
  EXPECT_EQ(entries[0].date, newer.date);
  EXPECT_EQ(entries[0].time, newer.time);

  if (!hostToolPresent("unzip")) return;
  EXPECT_TRUE(unzipTestAccepts(archive, expected.size(), temp.path));
  EXPECT_EQ(unzipEntry(archive, "Notes.exe", temp.path), noise(5000, 7));
  EXPECT_EQ(unzipEntry(archive, "docs/guide/intro.txt", temp.path), prose(900));
  EXPECT_EQ(unzipEntry(archive, "readme.txt", temp.path), prose(10));
  EXPECT_EQ(unzipEntry(archive, "setup.log", temp.path), prose(kWholeEntryMaxBytes + 1));
}

TEST(PayloadArchiveWriter, StoresNamesInTheOemCodePageAndTheRestAsFlaggedUtf8) {
  const std::string umlaut = "\xC3\xBC" "bersicht.txt";
  const std::string cyrillic = "\xD0\xA1\xD0\xBF\xD1\x80\xD0\xB0\xD0\xB2\xD0\xBA\xD0\xB0";  // Справка
  const std::string japanese = "\xE8\xAA\xAC\xE6\x98\x8E.txt";                              // 説明.txt
  TempFolder temp;
  const fs::path app = temp.path / "app";
  writeFile(app / fs::u8path(umlaut), prose(5));
  writeFile(app / fs::u8path(cyrillic) / fs::u8path(japanese), prose(900));  // deflated
  SourceFolder folder;
  folder.files = {sourceFile(app, umlaut, 0x20, {}), sourceFile(app, cyrillic + "/" + japanese, 0x20, {})};
  folder.subfolders = {cyrillic};
  ASSERT_EQ(writePayloadArchive(folder, temp.path / "p.zip"), "");
  const auto entries = centralDirectory(readFile(temp.path / "p.zip"));
  struct Expected {
    std::string name;
    std::uint16_t flags;
  };
  // Files carry minizip's mark of the best compression (2) beside it.
  const std::vector<Expected> expected = {
      {"", 0}, {"\x81" "bersicht.txt", 0x0002}, {cyrillic + "/" + japanese, 0x0802}, {cyrillic + "/", 0x0800}};
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(entries[i].name, expected[i].name);
    EXPECT_EQ(entries[i].flags, expected[i].flags);
    EXPECT_EQ(entries[i].localFlags, expected[i].flags);
  }
}

TEST(PayloadArchiveWriter, RefusesFilesTheSetupCannotInstall) {
  TempFolder temp;
  writeFile(temp.path / "a.txt", prose(5));
  SourceFolder tooLarge;
  tooLarge.files = {sourceFile(temp.path, "a.txt", 0x20, {})};
  tooLarge.files[0].size = 0x100000000ull;  // 4 GiB: beyond a plain ZIP entry
  EXPECT_NE(writePayloadArchive(tooLarge, temp.path / "p.zip"), "");

  SourceFolder badName;
  badName.files = {sourceFile(temp.path, "a.txt", 0x20, {})};
  badName.files[0].name = "\xE6\x97.txt";  // a cut UTF-8 sequence names no character
  EXPECT_NE(writePayloadArchive(badName, temp.path / "p.zip"), "");

  SourceFolder missing;
  missing.files = {sourceFile(temp.path, "a.txt", 0x20, {})};
  missing.files[0].path = temp.path / "gone.txt";
  EXPECT_NE(writePayloadArchive(missing, temp.path / "p.zip"), "");
}

TEST(OemName, MapsLettersOfCodePage437AndRefusesTheRest) {
  struct Row {
    std::string utf8;
    std::optional<std::string> oem;
  };
  const std::vector<Row> rows = {
      {"plain/name.txt", "plain/name.txt"},
      {"\xC3\xBC", "\x81"},              // ü
      {"\xC3\x89t\xC3\xA9", "\x90t\x82"}, // Été
      {"\xC2\xA0", "\xFF"},              // no-break space, the last of the page
      {"\xE2\x96\x91", "\xB0"},          // light shade
      {"\xE2\x82\xAC", std::nullopt},    // euro sign: not in the page
      {"\xC3", std::nullopt},            // cut sequence
      {"\xC0\xAF", std::nullopt},        // overlong "/"
      {"\xED\xA0\x80", std::nullopt},    // surrogate
  };
  for (const Row& row : rows) EXPECT_EQ(toOemName(row.utf8), row.oem) << row.utf8;
}

TEST(AnsiName, MapsLettersOfCodePage1252AndRefusesTheRest) {
  struct Row {
    std::string utf8;
    std::optional<std::string> ansi;
  };
  const std::vector<Row> rows = {
      {"Default.avl", "Default.avl"},
      {"Fran\xC3\xA7" "ais.avl", "Fran\xE7" "ais.avl"},
      {"\xE2\x82\xAC", "\x80"},          // euro sign
      {"\xC5\xB8", "\x9F"},               // Y with diaeresis
      {"\xC2\x81", std::nullopt},          // a control the page leaves out
      {"\xD0\xA0", std::nullopt},          // Cyrillic
  };
  for (const Row& row : rows) EXPECT_EQ(toAnsiName(row.utf8), row.ansi) << row.utf8;
}

TEST(DosDateTime, PacksLocalTimesAndClampsTheFormatsRange) {
  struct Row {
    int year, month, day, hour, minute, second;
    std::uint16_t date, time;
  };
  const std::vector<Row> rows = {
      {2024, 5, 17, 14, 35, 58, (44 << 9) | (5 << 5) | 17, (14 << 11) | (35 << 5) | 29},
      {2024, 5, 17, 14, 35, 59, (44 << 9) | (5 << 5) | 17, (14 << 11) | (35 << 5) | 29},  // odd second
      {1980, 1, 1, 0, 0, 0, (1 << 5) | 1, 0},
      {1979, 12, 31, 23, 59, 59, (1 << 5) | 1, 0},
      {2107, 12, 31, 23, 59, 58, (127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},
      {2108, 1, 1, 0, 0, 0, (127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},
  };
  for (const Row& row : rows) {
    std::tm local{};
    local.tm_year = row.year - 1900;
    local.tm_mon = row.month - 1;
    local.tm_mday = row.day;
    local.tm_hour = row.hour;
    local.tm_min = row.minute;
    local.tm_sec = row.second;
    const DosDateTime packed = packDosDateTime(local);
    EXPECT_EQ(packed.date, row.date) << row.year;
    EXPECT_EQ(packed.time, row.time) << row.year;
  }
}

}  // namespace
}  // namespace averlune
