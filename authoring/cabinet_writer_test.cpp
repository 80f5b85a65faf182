#include "authoring/cabinet_writer.h"

#include <gtest/gtest.h>

#include "authoring/authoring_test_support.h"
#include "authoring/code_page_names.h"

namespace averlune {
namespace {

using namespace averlune::testing;

struct CabinetCase {
  const char* what;
  std::vector<CabinetEntry> files;
};

std::vector<CabinetCase> cabinetCases() {
  const DosDateTime stamp{static_cast<std::uint16_t>((44 << 9) | (5 << 5) | 17),
                          static_cast<std::uint16_t>((14 << 11) | (35 << 5) | 29)};
  return {
      {"one small text", {{"SC.dat", prose(300), stamp, 0x20}}},
      {"an empty file between two others",
       {{"a.dat", prose(10), stamp, 0x20}, {"empty.dat", {}, stamp, 0x20}, {"b.dat", prose(7), stamp, 0x20}}},
      // Crosses block boundaries inside files and between them; the noise makes zlib choose
      // stored deflate blocks, the largest that MSZIP blocks get.
      {"files spanning several blocks",
       {{"isps.dat", noise(100000, 1), stamp, 0x20}, {"Default.avl", prose(70001), stamp, 0x20},
        {"tail.dat", noise(32768, 2), stamp, 0x20}}},
      {"names with folder levels and non-ASCII letters",
       {{"images\\Image_Top.jpg", noise(500, 3), stamp, 0x20}, {"Fran\xC3\xA7" "ais.avl", prose(40), stamp, 0x20}}},
      {"only empty files", {{"Variables.dat", {}, stamp, 0x20}, {"Desktop.dat", {}, stamp, 0x20}}},
  };
}

// cabextract writes names that are not flagged as UTF-8 byte for byte.
fs::path extractedPath(const fs::path& folder, const std::string& cabinetName) {
  std::string name = toAnsiName(cabinetName).value_or(cabinetName);
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  return folder / fs::u8path(name);
}

TEST(CabinetWriter, CabextractAcceptsTheCabinetAndGivesBackEveryFile) {
  if (!hostToolPresent("cabextract")) GTEST_SKIP() << "cabextract is not installed";
  for (const CabinetCase& c : cabinetCases()) {
    SCOPED_TRACE(c.what);
    TempFolder temp;
    std::vector<std::uint8_t> cabinet;
    ASSERT_EQ(buildCabinet(c.files, cabinet), "");
    const fs::path file = temp.path / "Setup.cab";
    writeFile(file, cabinet);

    const ToolRun test = runTool("cabextract -t " + quoted(file), temp.path);
    EXPECT_EQ(test.exitCode, 0) << test.output;
    const fs::path out = temp.path / "out";
    const ToolRun extract = runTool("cabextract -q -d " + quoted(out) + " " + quoted(file), temp.path);
    ASSERT_EQ(extract.exitCode, 0) << extract.output;
    for (const CabinetEntry& entry : c.files) {
      EXPECT_EQ(readFile(extractedPath(out, entry.name)), entry.data) << entry.name;
    }
  }
}

TEST(CabinetWriter, StoresDatesTimesAndAttributes) {
  if (!hostToolPresent("cabextract")) GTEST_SKIP() << "cabextract is not installed";
  TempFolder temp;
  const DosDateTime stamp{static_cast<std::uint16_t>((44 << 9) | (5 << 5) | 17),
                          static_cast<std::uint16_t>((14 << 11) | (35 << 5) | 29)};
  std::vector<std::uint8_t> cabinet;
  ASSERT_EQ(buildCabinet({{"SC.dat", prose(20), stamp, 0x21}}, cabinet), "");
  writeFile(temp.path / "Setup.cab", cabinet);
  const ToolRun list = runTool("cabextract -l " + quoted(temp.path / "Setup.cab"), temp.path);
  EXPECT_NE(list.output.find("17.05.2024 14:35:58 | SC.dat"), std::string::npos) << list.output;

  // The attributes word of the first file entry: after header, folder entry and 14 bytes.
  EXPECT_EQ(cabinet[36 + 8 + 14], 0x21);
}

TEST(CabinetWriter, StoresNamesInTheAnsiPageAndFlagsOnlyTheRestAsUtf8) {
  std::vector<std::uint8_t> cabinet;
  ASSERT_EQ(buildCabinet({{"Fran\xC3\xA7" "ais.avl", {}, {}, 0x20}, {"\xD0\xA0.avl", {}, {}, 0x20}}, cabinet), "");
  const std::size_t first = 36 + 8;
  EXPECT_EQ(cabinet[first + 14], 0x20);
  EXPECT_EQ(std::string(cabinet.begin() + first + 16, cabinet.begin() + first + 16 + 12), "Fran\xE7" "ais.avl");
  const std::size_t second = first + 16 + 12 + 1;
  EXPECT_EQ(cabinet[second + 14], 0xA0);
  EXPECT_EQ(std::string(cabinet.begin() + second + 16, cabinet.begin() + second + 16 + 6), "\xD0\xA0.avl");
}

TEST(CabinetWriter, CabextractRejectsADamagedChecksum) {
  // Proves that the checksums are checked by the reader, so that the test above vouches for them.
  if (!hostToolPresent("cabextract")) GTEST_SKIP() << "cabextract is not installed";
  TempFolder temp;
  std::vector<std::uint8_t> cabinet;
  ASSERT_EQ(buildCabinet({{"SC.dat", prose(5000), {}, 0x20}}, cabinet), "");
  const std::size_t firstBlock = readLittleEndian32(&cabinet[36]);
  cabinet[firstBlock] ^= 0x01;
  writeFile(temp.path / "Setup.cab", cabinet);
  EXPECT_NE(runTool("cabextract -t " + quoted(temp.path / "Setup.cab"), temp.path).exitCode, 0);
}

TEST(CabinetWriter, HeaderStatesLengthAndCounts) {
  std::vector<std::uint8_t> cabinet;
  ASSERT_EQ(buildCabinet({{"a", noise(70000, 4), {}, 0x20}, {"b", {}, {}, 0x20}}, cabinet), "");
  EXPECT_EQ(readLittleEndian32(&cabinet[8]), cabinet.size());
  EXPECT_EQ(cabinet[26], 1);                                  // one folder
  EXPECT_EQ(cabinet[28], 2);                                  // two files
  EXPECT_EQ(cabinet[36 + 4], 3);                              // 70,000 bytes make three blocks
  EXPECT_EQ(cabinet[36 + 6], 1);                              // MSZIP
}

TEST(CabinetChecksum, FoldsTheTailWithTheFirstByteHighest) {
  const std::uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
  EXPECT_EQ(cabinetChecksum(bytes, 4, 0), 0x04030201u);
  EXPECT_EQ(cabinetChecksum(bytes, 7, 0), 0x04030201u ^ 0x00050607u);
  EXPECT_EQ(cabinetChecksum(bytes, 6, 0), 0x04030201u ^ 0x00000506u);
  EXPECT_EQ(cabinetChecksum(bytes, 5, 0xFF), 0x04030201u ^ 0x05u ^ 0xFFu);
}

TEST(CabinetWriter, RefusesWhatTheFormatCannotHold) {
  struct Refusal {
    const char* what;
    std::vector<CabinetEntry> files;
  };
  const std::vector<Refusal> refusals = {
      {"no files", {}},
      {"an empty name", {{"", prose(3), {}, 0x20}}},
      {"a name of 256 bytes", {{std::string(256, 'n'), prose(3), {}, 0x20}}},
      {"65,536 files", std::vector<CabinetEntry>(65536, CabinetEntry{"x", {}, {}, 0x20})},
  };
  for (const Refusal& r : refusals) {
    std::vector<std::uint8_t> cabinet{1, 2, 3};
    EXPECT_NE(buildCabinet(r.files, cabinet), "") << r.what;
    EXPECT_TRUE(cabinet.empty()) << r.what;
  }
  std::vector<std::uint8_t> cabinet;
  EXPECT_EQ(buildCabinet({{std::string(255, 'n'), {}, {}, 0x20}}, cabinet), "");
}

}  // namespace
}  // namespace averlune
