#pragma once
// What the installation tests share: the configuration files of a test setup, the expected bytes
// of an uninstall log written out by hand, and a record of everything a test must remove again.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/driver/setup_fixture_win.h"

namespace averlune::e2e {

// The repository as the Windows side sees it (through Wine's Z: drive).
std::wstring repositoryFolder();
// The test build's own folder (where the setup, the uninstaller and the sample program are built).
std::wstring buildFolder();
std::string readWholeFile(const std::wstring& path);

// The sample's English language file and an OS.dat that accepts every version.
std::string sampleLanguageFile();
std::string acceptEveryWindows();
// SC.dat with [Setup] and the given lines (CR LF added to each), the OS list and the sample's
// language file; `extra` files are added to the cabinet as they are.
std::vector<ConfigFile> setupConfig(const std::vector<std::string>& scriptLines,
                                    const std::vector<ConfigFile>& extra = {});

// One record of Registry.dat: root, key (levels separated by "/"), value name, data text, flag.
struct RegistryRecord {
  std::string root, subKey, name, data;
  std::uint32_t flag;
};
// Registry.dat with these records.
std::string registryList(const std::vector<RegistryRecord>& records);

// The uninstall entry's key below HKEY_LOCAL_MACHINE.
std::wstring uninstallKeyOf(const std::wstring& appName);

// The uninstall log as the uninstaller reads it, built record by record by the format's own
// writers: its bytes are pinned once, beside the format, so these tests check the records only.
struct ExpectedLog {
  std::string bytes;
  ExpectedLog& header(const std::wstring& appName, const std::wstring& version, const std::wstring& webSite,
                      const std::wstring& appFolder, std::uint32_t entryCount);
  ExpectedLog& file(const std::wstring& path);
  ExpectedLog& folder(const std::wstring& path);
  ExpectedLog& key(const std::wstring& root, const std::wstring& subKey);
  ExpectedLog& uninstallKey(const std::wstring& appName) { return key(L"HKEY_LOCAL_MACHINE", uninstallKeyOf(appName)); }
  ExpectedLog& value(const std::wstring& root, const std::wstring& subKey, const std::wstring& name);
};

// The digest a setup keeps of its log's bytes in the uninstall entry (value LogDigest).
std::wstring logDigestOf(const std::string& logBytes);

// Runs every clean-up step it was given, before the test (leftovers of an earlier run that
// stopped half-way) and again when the test ends however it ends.
class Cleanup {
 public:
  explicit Cleanup(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) { run(); }
  ~Cleanup() { run(); }
  Cleanup(const Cleanup&) = delete;
  Cleanup& operator=(const Cleanup&) = delete;
  void run() const {
    for (const auto& step : steps_) step();
  }

 private:
  std::vector<std::function<void()>> steps_;
};

// Printable form of bytes for failure messages: printable ASCII as is, everything else as <hh>.
std::string visibleBytes(const std::string& bytes);

}  // namespace averlune::e2e
