#include "tests/e2e/driver/setup_fixture_win.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "authoring/cabinet_writer.h"
#include "authoring/setup_file_writer.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

// An empty ZIP archive: the end-of-central-directory record alone.
const std::uint8_t kEmptyZip[22] = {0x50, 0x4B, 0x05, 0x06};

// Assembles the setup `output` from a bare program, a cabinet and a payload archive.
std::wstring assemble(const fs::path& output, const std::vector<std::uint8_t>& cabinet, const fs::path& archive,
                      const std::wstring& bareProgram = bareSetupProgram()) {
  const std::string error = writeSetupFile({fs::path(bareProgram), cabinet, archive}, output);
  if (!error.empty()) {
    std::cerr << "cannot build the test setup: " << error << "\n";
    return {};
  }
  return output.wstring();
}

// A setup with an empty payload archive, in the test's fresh scratch folder.
std::wstring buildFromCabinet(const std::wstring& testName, const std::vector<std::uint8_t>& cabinet,
                              const std::wstring& bareProgram = bareSetupProgram()) {
  const fs::path folder = scratchFolder(testName);
  const fs::path archive = folder / L"payload.zip";
  std::ofstream(archive, std::ios::binary).write(reinterpret_cast<const char*>(kEmptyZip), sizeof kEmptyZip);
  return assemble(folder / L"setup.exe", cabinet, archive, bareProgram);
}

bool buildConfigCabinet(const std::vector<ConfigFile>& files, std::vector<std::uint8_t>& cabinet) {
  std::vector<CabinetEntry> entries;
  for (const ConfigFile& file : files) {
    CabinetEntry entry;
    entry.name = file.name;
    entry.data.assign(file.bytes.begin(), file.bytes.end());
    entry.modified = DosDateTime{0x5A21, 0x6000};  // 2025-01-01 12:00
    entries.push_back(entry);
  }
  const std::string error = buildCabinet(entries, cabinet);
  if (!error.empty()) std::cerr << "cannot build the test cabinet: " << error << "\n";
  return error.empty();
}

}  // namespace

std::wstring bareSetupProgram() { return AVERLUNE_SETUP_EXE; }

std::wstring restartRecordingSetupProgram() { return AVERLUNE_RESTART_RECORDING_SETUP_EXE; }

std::wstring scratchFolder(const std::wstring& testName) {
  const fs::path folder = fs::path(AVERLUNE_SCRATCH_DIR) / testName;
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder, ignored);
  return folder.wstring();
}

std::wstring screenshotPath(const std::wstring& name) {
  std::error_code ignored;
  fs::create_directories(AVERLUNE_SCREENSHOT_DIR, ignored);
  return (fs::path(AVERLUNE_SCREENSHOT_DIR) / (name + L".png")).wstring();
}

std::wstring buildSetupWithConfig(const std::wstring& testName, const std::vector<ConfigFile>& files,
                                  const std::wstring& bareProgram) {
  std::vector<std::uint8_t> cabinet;
  return buildConfigCabinet(files, cabinet) ? buildFromCabinet(testName, cabinet, bareProgram) : std::wstring();
}

std::wstring buildSetupWithPayload(const std::wstring& testName, const std::vector<ConfigFile>& files,
                                   const std::wstring& archive) {
  std::vector<std::uint8_t> cabinet;
  if (!buildConfigCabinet(files, cabinet)) return {};
  return assemble(fs::path(archive).parent_path() / (testName + L"-setup.exe"), cabinet, archive);
}

std::wstring buildSetupWithCabinetBytes(const std::wstring& testName, const std::vector<std::uint8_t>& cabinet) {
  return buildFromCabinet(testName, cabinet);
}

std::wstring temporaryFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  wchar_t longBuffer[MAX_PATH + 1];
  const DWORD longLength = GetLongPathNameW(buffer, longBuffer, MAX_PATH + 1);
  if (longLength > 0 && longLength <= MAX_PATH) return std::wstring(longBuffer, longLength);
  return std::wstring(buffer, length);
}

std::set<std::wstring> workFoldersInTemp() {
  std::set<std::wstring> folders;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(temporaryFolder(), error)) {
    const std::wstring name = entry.path().filename().wstring();
    if (entry.is_directory() && name.size() == 38 && name.front() == L'{' && name.back() == L'}') folders.insert(name);
  }
  return folders;
}

bool fileExists(const std::wstring& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool folderExists(const std::wstring& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

std::uint64_t fileSize(const std::wstring& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  return error ? 0 : size;
}

std::vector<ConfigFile> minimalConfig() {
  const std::string crlf = "\r\n";
  std::string os;
  for (const char* name : {"Windows 2000", "Windows XP", "Windows Server 2003", "Windows Vista",
                           "Windows Server 2008", "Windows 7", "Windows 8", "Windows Server 2012"}) {
    os += std::string(name) + " = 1" + crlf;
  }
  return {
      {"SC.dat", "[Setup]" + crlf + "Appname = Fixture App" + crlf + "Version = 1.0" + crlf + "Languages = 1" + crlf +
                     "InstallDir = <programfiles>\\<appname>\\" + crlf + "ShortcutFolder = <appname>\\" + crlf},
      {"OS.dat", os},
      {"Variables.dat", ""},
      {"Default.avl", "[Main]" + crlf + "Title = <appname> Setup" + crlf},
  };
}

}  // namespace averlune::e2e
