#include "install/payload_archive_reader.h"

#include <gtest/gtest.h>

#include "install/payload_test_support.h"
#include "install/payload_whole_entry.h"

namespace averlune {
namespace {

using payloadtest::RecordingFileSystem;
using payloadtest::ScratchFolder;
using payloadtest::TestEntry;
using payloadtest::writeArchive;
namespace fs = std::filesystem;

constexpr char16_t kTarget[] = u"C:\\App\\";

struct Fixture {
  ScratchFolder scratch;
  RecordingFileSystem recording;
  PayloadArchiveReader reader{recording.system()};
  std::u16string path = (scratch.path / "setup.exe").u16string();
};

using Outcome = PayloadExtraction;

PayloadExtractionResult extract(PayloadArchiveReader& reader, const PayloadEntryInfo& info) {
  return extractPayloadEntry(reader, info, payloadEntryPath(info, kTarget), isPayloadFolderEntry(info));
}

// Extracts every entry as the installation run does and collects the results by entry name.
std::vector<std::pair<std::u16string, PayloadExtractionResult>> extractAll(PayloadArchiveReader& reader) {
  std::vector<std::pair<std::u16string, PayloadExtractionResult>> results;
  for (const PayloadEntryInfo& info : listPayloadEntries(reader).entries) results.emplace_back(info.name, extract(reader, info));
  return results;
}

// The only entry of the open archive.
PayloadEntryInfo onlyEntry(PayloadArchiveReader& reader) {
  PayloadListing listing = listPayloadEntries(reader);
  EXPECT_EQ(listing.entries.size(), 1u);
  return listing.entries.empty() ? PayloadEntryInfo{} : listing.entries[0];
}

TEST(PayloadArchiveReader, FindsTheArchiveBehindTheImageAndBeforeTheTrailer) {
  Fixture f;
  const std::string image(70000, 'M');  // more than the 65,535 bytes the end record is looked for in
  writeArchive(f.scratch.path / "setup.exe", {{"", "", 0x10, 0x5A2D753D, 0}, {"a.txt", "alpha"}}, image, "\x12\x34\x00\x00");
  ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
  const PayloadListing listing = listPayloadEntries(f.reader);
  EXPECT_EQ(listing.declaredCount, 2u);
  ASSERT_EQ(listing.entries.size(), 2u);
  EXPECT_EQ(listing.entries[1].name, u"a.txt");
  const auto results = extractAll(f.reader);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].second.outcome, Outcome::nameRefused);  // the empty-named folder entry is the target itself
  EXPECT_EQ(results[1].second.outcome, Outcome::extracted);
  EXPECT_EQ(f.recording.files[u"C:\\App\\a.txt"].bytes, "alpha");
}

TEST(PayloadArchiveReader, RefusesFilesWithoutAConsistentArchive) {
  Fixture f;
  EXPECT_FALSE(openPayloadArchive(f.reader, f.path));  // missing
  EXPECT_EQ(listPayloadEntries(f.reader).declaredCount, 0u);
  std::ofstream(f.scratch.path / "setup.exe", std::ios::binary) << std::string(5000, 'x');
  EXPECT_FALSE(openPayloadArchive(f.reader, f.path));
  PayloadEntryInfo info;
  info.name = u"a.txt";
  EXPECT_EQ(extractPayloadEntry(f.reader, info, u"C:\\App\\a.txt", false).outcome, Outcome::unreadable);

  // An archive cut before its end record (its last 22 bytes) is none.
  writeArchive(f.scratch.path / "setup.exe", {{"a.txt", "alpha"}});
  const std::string whole = payloadtest::readBytes(f.scratch.path / "setup.exe");
  std::ofstream(f.scratch.path / "setup.exe", std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() - 22);
  EXPECT_FALSE(openPayloadArchive(f.reader, f.path));
  EXPECT_TRUE(f.recording.files.empty());

  // A place the archive does not hold gives nothing, and the entries it does hold still come.
  writeArchive(f.scratch.path / "setup.exe", {{"a.txt", "alpha"}});
  ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
  info = onlyEntry(f.reader);
  PayloadEntryInfo elsewhere = info;
  elsewhere.place.directoryOffset += 7;
  EXPECT_EQ(extractPayloadEntry(f.reader, elsewhere, u"C:\\App\\a.txt", false).outcome, Outcome::unreadable);
  EXPECT_TRUE(f.recording.files.empty());
  EXPECT_EQ(extract(f.reader, info).outcome, Outcome::extracted);
}

// Entries are found by the place the listing gave them, in any order and again after a failure, so
// a retry or a skipped entry never puts another entry's bytes under a name.
TEST(PayloadArchiveReader, EntriesAreFoundByTheirPlaceInAnyOrder) {
  Fixture f;
  writeArchive(f.scratch.path / "setup.exe", {{"a.txt", "alpha"}, {"sub/", "", 0x10}, {"sub/b.txt", "beta"}, {"c.txt", "gamma"}});
  ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
  const PayloadListing listing = listPayloadEntries(f.reader);
  ASSERT_EQ(listing.entries.size(), 4u);
  for (int index : {3, 0, 2, 0, 1}) {
    const PayloadEntryInfo& info = listing.entries[index];
    EXPECT_EQ(extract(f.reader, info).outcome, Outcome::extracted) << index;
  }
  EXPECT_EQ(f.recording.files[u"C:\\App\\a.txt"].bytes, "alpha");
  EXPECT_EQ(f.recording.files[u"C:\\App\\sub\\b.txt"].bytes, "beta");
  EXPECT_EQ(f.recording.files[u"C:\\App\\c.txt"].bytes, "gamma");
  EXPECT_EQ(f.recording.files.size(), 3u);
  EXPECT_TRUE(f.recording.folders.count(u"C:\\App\\sub\\"));
}

TEST(PayloadArchiveReader, FilesGetTheirTimeWithoutSecondsAndTheirStoredAttributes) {
  Fixture f;
  writeArchive(f.scratch.path / "setup.exe",
               {{"ro.txt", "read only", 0x21, 0x5A2D753D}, {"stored.bin", std::string(300000, 's'), 0x80000020, 0x5A2D753D, 0}});
  ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
  extractAll(f.reader);
  const payloadtest::RecordedFile& ro = f.recording.files[u"C:\\App\\ro.txt"];
  EXPECT_TRUE(ro.finished);
  EXPECT_EQ(ro.time.year, 2025);
  EXPECT_EQ(ro.time.month, 1);
  EXPECT_EQ(ro.time.day, 13);
  EXPECT_EQ(ro.time.hour, 14);
  EXPECT_EQ(ro.time.minute, 41);
  EXPECT_EQ(ro.attributes, 0x21u);
  const payloadtest::RecordedFile& stored = f.recording.files[u"C:\\App\\stored.bin"];
  EXPECT_EQ(stored.bytes, std::string(300000, 's'));
  EXPECT_EQ(stored.attributes, 0x80000020u);  // all 32 bits, as stored
  EXPECT_EQ(stored.largestWrite, 300000u);  // held whole: one write
}

// Where each name lands, or that it lands nowhere. Refused names must not create a file or a folder
// anywhere, so the recorded folders are checked as well.
TEST(PayloadArchiveReader, NamesBecomePathsInsideTheTargetOnly) {
  struct Case {
    const char* name;
    const char16_t* file;    // created file, or null
    const char16_t* folder;  // folder asked for, or null
  };
  const Case cases[] = {
      {"bin/tool.exe", u"C:\\App\\bin\\tool.exe", u"C:\\App\\bin\\"},
      {"tool.exe", u"C:\\App\\tool.exe", u"C:\\App\\"},
      {"docs/", nullptr, u"C:\\App\\docs\\"},
      {"a/b/c/", nullptr, u"C:\\App\\a\\b\\c\\"},
      {"C:\\Program Files\\x.txt", u"C:\\App\\Program Files\\x.txt", u"C:\\App\\Program Files\\"},
      {"x/C:/y.txt", u"C:\\App\\y.txt", u"C:\\App\\"},  // everything up to the first drive goes
      {"../evil.txt", nullptr, nullptr},
      {"sub/../../evil.txt", nullptr, nullptr},
      {"../evil/", nullptr, nullptr},
      {"/etc/evil.txt", nullptr, nullptr},
      {"\\\\server\\share\\evil.txt", nullptr, nullptr},
      {"C:\\D:\\evil.txt", nullptr, nullptr},
      {"D:evil.txt", nullptr, nullptr},
      {"a/..", nullptr, nullptr},
      {"", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    const bool folder = std::string(c.name).size() > 0 && std::string(c.name).back() == '/';
    writeArchive(f.scratch.path / "setup.exe", {{c.name, folder ? "" : "data", folder ? 0x10u : 0x20u}});
    ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
    const PayloadEntryInfo info = onlyEntry(f.reader);
    EXPECT_EQ(isPayloadFolderEntry(info), folder);
    const PayloadExtractionResult result = extract(f.reader, info);
    EXPECT_EQ(result.outcome, c.folder ? Outcome::extracted : Outcome::nameRefused);
    if (c.file) {
      ASSERT_EQ(f.recording.files.size(), 1u);
      EXPECT_EQ(f.recording.files.begin()->first, c.file);
      EXPECT_EQ(f.recording.files.begin()->second.bytes, "data");
    } else {
      EXPECT_TRUE(f.recording.files.empty());
    }
    std::set<std::u16string> expectedFolders;
    if (c.folder) expectedFolders.insert(c.folder);
    EXPECT_EQ(f.recording.folders, expectedFolders);
  }
}

TEST(PayloadArchiveReader, ReportsDataThatDoesNotMatchItsHeader) {
  Fixture f;
  // Raw entries carry the stored bytes as they are and declare what the header should say.
  TestEntry badCrc{"crc.txt", "hello", 0x20, 0x5A2D753D, 0, true, 5, payloadtest::crcOf("hellO")};
  TestEntry shortData{"short.txt", "hello", 0x21, 0x5A2D753D, 0, true, 5, payloadtest::crcOf("hello")};
  shortData.data = "hel";
  TestEntry good{"good.txt", "hello"};
  writeArchive(f.scratch.path / "setup.exe", {badCrc, shortData, good});
  ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
  const auto results = extractAll(f.reader);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0].second.outcome, Outcome::fileCut);
  EXPECT_EQ(results[0].second.zipCode, -105);  // minizip's CRC error, for the administrator's log
  EXPECT_EQ(results[1].second.outcome, Outcome::fileCut);
  EXPECT_EQ(results[2].second.outcome, Outcome::extracted);
  // What was written stays, with its time and attributes.
  EXPECT_EQ(f.recording.files[u"C:\\App\\crc.txt"].bytes, "hello");
  EXPECT_EQ(f.recording.files[u"C:\\App\\short.txt"].bytes, "hel");
  EXPECT_TRUE(f.recording.files[u"C:\\App\\short.txt"].finished);
  EXPECT_EQ(f.recording.files[u"C:\\App\\short.txt"].attributes, 0x21u);
}

// A raw deflate stream of `data`, for entries whose header states something else.
std::string rawDeflate(const std::string& data) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// Entries up to the whole-entry limit are inflated in one piece, larger ones stream; both check
// the same things, and a fault found whole ends as the stream ends it.
TEST(PayloadArchiveReader, EntriesHeldWholeAreCheckedAsStreamedOnes) {
  Fixture f;
  std::string text;
  for (int i = 0; text.size() < kPayloadWholeEntryLimit + 1; ++i) text += "line " + std::to_string(i * 7919) + "\r\n";
  const std::string atLimit = text.substr(0, kPayloadWholeEntryLimit);
  const std::string overLimit = text.substr(0, kPayloadWholeEntryLimit + 1);
  std::string damaged = rawDeflate(text.substr(0, 50000));
  for (std::size_t i = damaged.size() / 2; i < damaged.size() / 2 + 16; ++i) damaged[i] = static_cast<char>(~damaged[i]);
  const std::string hello = "hello world";
  writeArchive(f.scratch.path / "setup.exe",
               {{"limit.txt", atLimit},
                {"over.txt", overLimit},
                {"crc.txt", rawDeflate(hello), 0x20, 0x5A2D753D, Z_DEFLATED, true, 11, payloadtest::crcOf("hellO world")},
                {"short.txt", rawDeflate("hel"), 0x20, 0x5A2D753D, Z_DEFLATED, true, 5, payloadtest::crcOf("hello")},
                {"long.txt", rawDeflate(hello), 0x20, 0x5A2D753D, Z_DEFLATED, true, 5, payloadtest::crcOf("hello")},
                {"damaged.txt", damaged, 0x20, 0x5A2D753D, Z_DEFLATED, true, 50000, payloadtest::crcOf(text.substr(0, 50000))},
                {"empty.txt", ""}});
  ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
  const auto results = extractAll(f.reader);
  ASSERT_EQ(results.size(), 7u);
  auto& files = f.recording.files;

  EXPECT_EQ(results[0].second.outcome, Outcome::extracted);
  EXPECT_EQ(files[u"C:\\App\\limit.txt"].largestWrite, kPayloadWholeEntryLimit);
  EXPECT_EQ(files[u"C:\\App\\limit.txt"].crc, payloadtest::crcOf(atLimit));
  EXPECT_EQ(results[1].second.outcome, Outcome::extracted);
  EXPECT_LE(files[u"C:\\App\\over.txt"].largestWrite, kPayloadCopyBufferSize);
  EXPECT_EQ(files[u"C:\\App\\over.txt"].size, overLimit.size());
  EXPECT_EQ(files[u"C:\\App\\over.txt"].crc, payloadtest::crcOf(overLimit));

  EXPECT_EQ(results[2].second.outcome, Outcome::fileCut);  // every byte written, then the CRC-32 refused
  EXPECT_EQ(results[2].second.zipCode, -105);
  EXPECT_EQ(files[u"C:\\App\\crc.txt"].bytes, hello);
  EXPECT_EQ(results[3].second.outcome, Outcome::fileCut);
  EXPECT_EQ(files[u"C:\\App\\short.txt"].bytes, "hel");
  // A stream that goes on past the stated size gives the stated bytes, whose CRC-32 decides.
  EXPECT_EQ(results[4].second.outcome, Outcome::extracted);
  EXPECT_EQ(files[u"C:\\App\\long.txt"].bytes, "hello");
  EXPECT_EQ(results[5].second.outcome, Outcome::fileCut);
  EXPECT_TRUE(files[u"C:\\App\\damaged.txt"].finished);
  EXPECT_EQ(results[6].second.outcome, Outcome::extracted);
  EXPECT_TRUE(files[u"C:\\App\\empty.txt"].finished);
  EXPECT_EQ(files[u"C:\\App\\empty.txt"].size, 0u);
}

TEST(PayloadArchiveReader, FailsWhenTheTargetCannotBeWritten) {
  Fixture f;
  writeArchive(f.scratch.path / "setup.exe", {{"sub/locked.txt", "x"}, {"dir/", "", 0x10}});
  f.recording.refusedFiles.insert(u"C:\\App\\sub\\locked.txt");
  f.recording.refusedFolders.insert(u"C:\\App\\dir\\");
  ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
  const PayloadListing listing = listPayloadEntries(f.reader);
  ASSERT_EQ(listing.entries.size(), 2u);
  EXPECT_EQ(extract(f.reader, listing.entries[0]).outcome, Outcome::fileNotMade);
  EXPECT_EQ(extract(f.reader, listing.entries[1]).outcome, Outcome::folderNotMade);
  // Its folder may be what went missing: retrying asks for the folders again.
  f.recording.folders.clear();
  f.recording.refusedFiles.clear();
  f.recording.refusedFolders.clear();
  EXPECT_EQ(extract(f.reader, listing.entries[0]).outcome, Outcome::extracted);
  EXPECT_EQ(f.recording.folders, (std::set<std::u16string>{u"C:\\App\\sub\\"}));
  EXPECT_EQ(f.recording.files[u"C:\\App\\sub\\locked.txt"].bytes, "x");
  EXPECT_EQ(extract(f.reader, listing.entries[1]).outcome, Outcome::extracted);
}

TEST(PayloadArchiveReader, NamesLongerThanTheLimitAreShownCutAndNeverExtracted) {
  Fixture f;
  const std::string longName = std::string(600, 'n') + ".txt";
  writeArchive(f.scratch.path / "setup.exe", {{longName, "x"}, {std::string(499, 'k'), "y"}});
  ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
  const PayloadListing listing = listPayloadEntries(f.reader);
  ASSERT_EQ(listing.entries.size(), 2u);
  EXPECT_EQ(listing.entries[0].name, std::u16string(499, u'n'));
  EXPECT_EQ(listing.entries[0].nameLength, 604u);
  EXPECT_EQ(extract(f.reader, listing.entries[0]).outcome, Outcome::nameRefused);
  EXPECT_EQ(extract(f.reader, listing.entries[1]).outcome, Outcome::extracted);
  EXPECT_EQ(f.recording.files.size(), 1u);
}

TEST(PayloadArchiveReader, FlaggedNamesAreUtf8AndTheRestOem) {
  struct Case {
    std::string name;
    std::uint32_t flags;
    std::u16string shown;
    bool extracted;
  };
  const Case cases[] = {
      {"t\x81ol.txt", 0, u"t\u00FCol.txt", true},
      {"\xD0\xA1\xD0\xBF/\xE8\xAA\xAC.txt", kPayloadNameIsUtf8, u"\u0421\u043F\\\u8AAC.txt", true},
      {"\xCE\xA9\xF0\x9F\x98\x80.txt", kPayloadNameIsUtf8, u"\u03A9\U0001F600.txt", true},
      {"\xC3\xBC", 0, u"\u00C3\u00BC", true},  // unflagged UTF-8 bytes read as the OEM page gives them
      {"t\x81ol.txt", kPayloadNameIsUtf8, u"t\uFFFDol.txt", false},
      {"a\xED\xA0\x80.txt", kPayloadNameIsUtf8, u"a\uFFFD\uFFFD.txt", false},  // a surrogate
      {"\xC0\xAF..\xC0\xAF" "evil.txt", kPayloadNameIsUtf8, u"\uFFFD\uFFFD..\uFFFD\uFFFDevil.txt", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    TestEntry entry{c.name, "data"};
    entry.flags = c.flags;
    writeArchive(f.scratch.path / "setup.exe", {entry});
    ASSERT_TRUE(openPayloadArchive(f.reader, f.path));
    const PayloadEntryInfo info = onlyEntry(f.reader);
    EXPECT_EQ(info.name, c.shown);
    EXPECT_EQ(info.nameMalformed, !c.extracted);
    EXPECT_EQ(extract(f.reader, info).outcome, c.extracted ? Outcome::extracted : Outcome::nameRefused);
    EXPECT_EQ(f.recording.files.size(), c.extracted ? 1u : 0u);
    if (c.extracted) {
      EXPECT_EQ(f.recording.files.begin()->first, kTarget + c.shown);
    }
  }
}

// An entry of 2 GiB and more is copied in full through the fixed buffer.
TEST(PayloadArchiveReader, ExtractsEntriesOfTwoGibibytesAndMore) {
  Fixture f;
  const std::uint64_t size = (std::uint64_t{1} << 31) + 12345;
  const fs::path zipPath = f.scratch.path / "big.zip";
  zipFile zip = zipOpen64(zipPath.string().c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  zip_fileinfo info{};
  ASSERT_EQ(zipOpenNewFileInZip(zip, "big.bin", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1), ZIP_OK);
  const std::string chunk(1 << 22, '\0');
  std::uint32_t crc = 0;
  for (std::uint64_t written = 0; written < size;) {
    const unsigned part = static_cast<unsigned>(std::min<std::uint64_t>(chunk.size(), size - written));
    ASSERT_EQ(zipWriteInFileInZip(zip, chunk.data(), part), ZIP_OK);
    crc = static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(chunk.data()), part));
    written += part;
  }
  ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);

  ASSERT_TRUE(openPayloadArchive(f.reader, zipPath.u16string()));
  EXPECT_EQ(extract(f.reader, onlyEntry(f.reader)).outcome, Outcome::extracted);
  const payloadtest::RecordedFile& big = f.recording.files[u"C:\\App\\big.bin"];
  EXPECT_EQ(big.size, size);
  EXPECT_EQ(big.crc, crc);
  EXPECT_LE(big.largestWrite, kPayloadCopyBufferSize);
}

}  // namespace
}  // namespace averlune
