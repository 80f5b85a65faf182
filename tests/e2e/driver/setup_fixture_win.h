#pragma once
// Builds real setups for the end-to-end tests, with the same library the setup builder uses, and
// inspects what a run leaves in the temporary folder.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace averlune::e2e {

struct ConfigFile {
  std::string name;   // name in the configuration cabinet
  std::string bytes;  // content, exactly
};

// The bare setup program this build produced.
std::wstring bareSetupProgram();
// The same program with its restart request recorded instead of made (restart_recorder_win.cpp),
// for the tests of the finish page's restart.
std::wstring restartRecordingSetupProgram();
// A fresh folder for one test's files under the test run's own scratch folder.
std::wstring scratchFolder(const std::wstring& testName);
// Where screenshots go, so a person can look at every page met.
std::wstring screenshotPath(const std::wstring& name);

// A setup whose configuration cabinet holds `files` and whose payload archive is empty, made from
// `bareProgram`. Result: the setup's path, or empty when it could not be built (the reason is
// printed).
std::wstring buildSetupWithConfig(const std::wstring& testName, const std::vector<ConfigFile>& files,
                                  const std::wstring& bareProgram = bareSetupProgram());
// A setup whose configuration cabinet holds `files` and whose payload archive is the file
// `archive`; the setup is written next to the archive, named after the test.
std::wstring buildSetupWithPayload(const std::wstring& testName, const std::vector<ConfigFile>& files,
                                   const std::wstring& archive);
// A setup whose configuration cabinet is exactly `cabinet` (for damaged cabinets).
std::wstring buildSetupWithCabinetBytes(const std::wstring& testName, const std::vector<std::uint8_t>& cabinet);

// The run work folders in the temporary folder: names of the form "{GUID}".
std::set<std::wstring> workFoldersInTemp();
std::wstring temporaryFolder();
bool fileExists(const std::wstring& path);
bool folderExists(const std::wstring& path);
std::uint64_t fileSize(const std::wstring& path);

// The configuration files of a minimal single-language setup that reaches its first window.
std::vector<ConfigFile> minimalConfig();

}  // namespace averlune::e2e
