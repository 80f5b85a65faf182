#include "tests/e2e/driver/install_case_win.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/uninstall_log.h"
#include "guards/sha256_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

std::u16string u16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::wstring repositoryFolder() {
  // This file sits in tests/e2e/driver/ of the repository.
  return fs::path(L"Z:" + fs::path(__FILE__).wstring()).parent_path().parent_path().parent_path().parent_path().wstring();
}

std::wstring buildFolder() { return fs::path(AVERLUNE_SCRATCH_DIR).parent_path().wstring(); }

std::string readWholeFile(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string sampleLanguageFile() { return readWholeFile(repositoryFolder() + L"\\sample\\config\\Default.avl"); }

std::string acceptEveryWindows() { return readWholeFile(repositoryFolder() + L"\\sample\\config\\OS.dat"); }

std::vector<ConfigFile> setupConfig(const std::vector<std::string>& scriptLines, const std::vector<ConfigFile>& extra) {
  std::string script = "[Setup]\r\n";
  for (const std::string& line : scriptLines) script += line + "\r\n";
  std::vector<ConfigFile> files = {{"SC.dat", script}, {"OS.dat", acceptEveryWindows()}, {"Default.avl", sampleLanguageFile()}};
  files.insert(files.end(), extra.begin(), extra.end());
  return files;
}

std::string registryList(const std::vector<RegistryRecord>& records) {
  std::string bytes;
  for (const RegistryRecord& r : records) {
    bytes += r.root + "\r\n" + r.subKey + "\r\n" + r.name + "\r\n" + r.data + "\r\n";
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((r.flag >> shift) & 0xFF);
  }
  return bytes;
}

ExpectedLog& ExpectedLog::header(const std::wstring& appName, const std::wstring& version, const std::wstring& webSite,
                                 const std::wstring& appFolder, std::uint32_t entryCount) {
  bytes += uninstallLogHeaderBytes({u16(appName), u16(version), u16(webSite), u16(appFolder), entryCount});
  return *this;
}

ExpectedLog& ExpectedLog::file(const std::wstring& path) {
  bytes += uninstallFileRecord(u16(path));
  return *this;
}

ExpectedLog& ExpectedLog::folder(const std::wstring& path) {
  bytes += uninstallFolderRecord(u16(path));
  return *this;
}

ExpectedLog& ExpectedLog::key(const std::wstring& root, const std::wstring& subKey) {
  bytes += uninstallKeyRecord(u16(root), u16(subKey));
  return *this;
}

ExpectedLog& ExpectedLog::value(const std::wstring& root, const std::wstring& subKey, const std::wstring& name) {
  bytes += uninstallValueRecord(u16(root), u16(subKey), u16(name));
  return *this;
}

std::wstring uninstallKeyOf(const std::wstring& appName) {
  return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
}

std::wstring logDigestOf(const std::string& logBytes) {
  const std::u16string digest = sha256Hex(logBytes);
  return std::wstring(digest.begin(), digest.end());
}

std::string visibleBytes(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F) {
      shown += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02X>", c);
      shown += hex;
      if (c == 0x0A) shown += '\n';
    }
  }
  return shown;
}

}  // namespace averlune::e2e
