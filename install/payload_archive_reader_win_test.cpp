#include <windows.h>

#include <gtest/gtest.h>

#include "guards/dacl_test_support_win.h"
#include "base/folder_path_win.h"
#include "base/own_file_win.h"
#include "base/wide_text_win.h"
#include "install/payload_file_system_win.h"
#include "install/payload_test_support.h"

namespace averlune {
namespace {

using payloadtest::TestEntry;
namespace fs = std::filesystem;

struct WinFixture {
  payloadtest::ScratchFolder scratch;
  std::u16string target = (scratch.path / "App" / "").u16string();
  std::u16string archive = (scratch.path / "setup.exe").u16string();
  HeldFolders folders;
  OwnedHandle held;  // the archive's file, held as the setup holds its own while it reads it
  std::unique_ptr<PayloadArchiveReader> reader;

  bool openArchive() {
    held = openOwnFile(archive);
    reader = std::make_unique<PayloadArchiveReader>(windowsPayloadFileSystem(folders, held.get()));
    return openPayloadArchive(*reader, archive);
  }
  void release() {
    reader.reset();
    held.reset();
  }

  ~WinFixture() {
    // Read-only files would keep the scratch folder from going.
    for (const auto& entry : fs::recursive_directory_iterator(scratch.path)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }

  // Every entry extracted as the installation run does.
  std::vector<PayloadExtraction> extractAll() {
    std::vector<PayloadExtraction> results;
    EXPECT_TRUE(holdApplicationFolder(folders, target));
    EXPECT_TRUE(openArchive());
    for (const PayloadEntryInfo& info : listPayloadEntries(*reader).entries) {
      results.push_back(
          extractPayloadEntry(*reader, info, payloadEntryPath(info, target), isPayloadFolderEntry(info)).outcome);
    }
    release();
    return results;
  }
};

constexpr PayloadExtraction kDone = PayloadExtraction::extracted;
constexpr PayloadExtraction kRefused = PayloadExtraction::nameRefused;

std::string fileBytes(const std::u16string& path) { return payloadtest::readBytes(fs::path(std::wstring(path.begin(), path.end()))); }

DWORD attributesOf(const std::u16string& path) { return GetFileAttributesW(wide(path)); }

SYSTEMTIME localLastWrite(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  EXPECT_TRUE(GetFileAttributesExW(wide(path), GetFileExInfoStandard, &data));
  SYSTEMTIME universal{}, local{};
  FileTimeToSystemTime(&data.ftLastWriteTime, &universal);
  SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
  return local;
}

TEST(PayloadArchiveReaderWin, ExtractsFilesFoldersTimesAndAttributes) {
  WinFixture f;
  // 0x5A2D753D: 2025-01-13 14:41:58 local time.
  payloadtest::writeArchive(f.scratch.path / "setup.exe",
               {{"", "", 0x10, 0x5A2D753D, 0},
                {"bin/tool.exe", "MZ tool", 0x20},
                {"docs/", "", 0x10, 0x5A2D753D, 0},
                {"docs/a.txt", "a text", 0x20},
                {"ro.txt", "read only", 0x21},
                {"gr\x81n.txt", "green", 0x20},
                {"../evil.txt", "evil", 0x20}},
               std::string(4096, 'M'), "\x10\x00\x00\x00");
  const std::vector<PayloadExtraction> results = f.extractAll();
  ASSERT_EQ(results.size(), 7u);
  EXPECT_EQ(results[0], kRefused);  // the empty name: the target folder itself
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(results[i], kDone) << i;
  EXPECT_EQ(results[6], kRefused);

  EXPECT_EQ(fileBytes(f.target + u"bin\\tool.exe"), "MZ tool");
  EXPECT_TRUE(folderExists(f.target + u"docs\\"));
  EXPECT_EQ(fileBytes(f.target + u"docs\\a.txt"), "a text");
  EXPECT_EQ(attributesOf(f.target + u"ro.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(attributesOf(f.target + u"docs\\a.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_FALSE(fs::exists(f.scratch.path / "evil.txt"));

  const SYSTEMTIME stamp = localLastWrite(f.target + u"docs\\a.txt");
  EXPECT_EQ(stamp.wYear, 2025);
  EXPECT_EQ(stamp.wMonth, 1);
  EXPECT_EQ(stamp.wDay, 13);
  EXPECT_EQ(stamp.wHour, 14);
  EXPECT_EQ(stamp.wMinute, 41);
  EXPECT_EQ(stamp.wSecond, 0);

  // The OEM code page decides the name; on code page 437 (and 850) byte 0x81 is u-umlaut.
  if (GetOEMCP() == 437 || GetOEMCP() == 850) {
    EXPECT_EQ(fileBytes(f.target + u"gr\u00FCn.txt"), "green");
  }
}

TEST(PayloadArchiveReaderWin, ReplacesExistingFilesUnlessTheyCannotBeOpened) {
  WinFixture f;
  payloadtest::writeArchive(f.scratch.path / "setup.exe", {{"big.txt", "new", 0x20}, {"hidden.txt", "new hidden", 0x22}, {"ro.txt", "ro", 0x21}});
  makeFolderPath(f.target);
  std::ofstream(fs::path(std::wstring(f.target.begin(), f.target.end())) / "big.txt", std::ios::binary)
      << std::string(100000, 'o');
  EXPECT_EQ(f.extractAll(), (std::vector{kDone, kDone, kDone}));
  EXPECT_EQ(fileBytes(f.target + u"big.txt"), "new");
  EXPECT_EQ(attributesOf(f.target + u"hidden.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

  // Second run: the hidden file is replaced; a file that is in use refuses. (Wine
  // run by root lets a read-only file be replaced, so a file held open without sharing stands in
  // for it here.)
  HANDLE held = CreateFileW(wide(f.target + u"ro.txt"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::vector<PayloadExtraction> second = f.extractAll();
  CloseHandle(held);
  EXPECT_EQ(second, (std::vector{kDone, kDone, PayloadExtraction::fileNotMade}));
  EXPECT_EQ(fileBytes(f.target + u"ro.txt"), "ro");
  EXPECT_EQ(fileBytes(f.target + u"hidden.txt"), "new hidden");
}

// The levels the run makes are the machine's; one that stood keeps its DACL. A second run into the
// folder replaces each name and never writes through it: a hard link planted at a payload file's
// name keeps its other name's content.
TEST(PayloadArchiveReaderWin, MadeLevelsAreTheMachinesAndAHardLinkIsReplacedNotWrittenThrough) {
  WinFixture f;
  f.target = (f.scratch.path / "Made" / "App" / "").u16string();
  payloadtest::writeArchive(f.scratch.path / "setup.exe", {{"bin/tool.exe", "tool"}, {"shared.txt", "from the payload"}});
  EXPECT_EQ(f.extractAll(), (std::vector{kDone, kDone}));
  for (const std::u16string& level : {f.target.substr(0, f.target.size() - 4), f.target, f.target + u"bin\\"}) {
    SCOPED_TRACE(fs::path(std::wstring(level.begin(), level.end())).string());
    const FileDaclFacts facts = fileDaclFacts(level);
    EXPECT_TRUE(facts.read);
    EXPECT_FALSE(facts.usersMayChange);
    if (systemKeepsDaclsAsWritten()) {
      EXPECT_TRUE(facts.isProtected);
      EXPECT_TRUE(facts.usersMayRead);
    }
  }
  if (systemKeepsDaclsAsWritten()) {
    EXPECT_FALSE(fileDaclFacts(f.scratch.path.u16string()).isProtected);
  }

  const fs::path elsewhere = f.scratch.path / "elsewhere.txt";
  std::ofstream(elsewhere, std::ios::binary) << "someone else's";
  const std::u16string shared = f.target + u"shared.txt";
  ASSERT_TRUE(DeleteFileW(wide(shared)));
  ASSERT_TRUE(CreateHardLinkW(wide(shared), elsewhere.c_str(), nullptr));
  f.folders = HeldFolders();
  EXPECT_EQ(f.extractAll(), (std::vector{kDone, kDone}));
  EXPECT_EQ(fileBytes(shared), "from the payload");
  EXPECT_EQ(payloadtest::readBytes(elsewhere), "someone else's");
  // Nothing is left under a new name.
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator(fs::path(std::wstring(f.target.begin(), f.target.end())))) {
    names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<fs::path>{"bin", "shared.txt"}));
}

TEST(PayloadArchiveReaderWin, ReadsTheArchiveOfAFileWithANonAnsiName) {
  WinFixture f;
  payloadtest::writeArchive(f.scratch.path / "setup.exe", {{"a.txt", "alpha"}});
  const std::u16string odd = (f.scratch.path / L"\u0416\u4E2D.exe").u16string();
  ASSERT_TRUE(MoveFileW(wide(f.archive), wide(odd)));
  f.archive = odd;
  ASSERT_TRUE(f.openArchive());
  EXPECT_EQ(listPayloadEntries(*f.reader).entries.size(), 1u);
  f.release();
  EXPECT_EQ(f.extractAll(), std::vector{kDone});
}

}  // namespace
}  // namespace averlune
