// An application's life in one folder: version 1.0 installed, 1.1 installed over it, then removed
// silently. 1.1 no longer ships what only 1.0 had (a file in a folder of its own, a start menu
// link, a registry value); the uninstaller must still remove everything either version wrote.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include "authoring/new_setup_folder.h"
#include "authoring/setup_builder.h"

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/silent_run_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

const std::wstring kApp = L"Upgrade Probe";
const std::wstring kFolder = L"C:\\AvE2E\\Upgrade Probe\\";
const wchar_t kValueKey[] = L"Software\\AverluneE2E\\Upgrade";

struct Version {
  std::string number;
  std::vector<std::pair<fs::path, std::string>> files;  // below the application folder
  std::string startMenuList;                             // Startmenu.dat; empty: no start menu links
  std::vector<RegistryRecord> values;
};

// A setup made as an author makes one: averlune-build --new's configuration, edited, and the builder.
fs::path buildVersion(const fs::path& scratch, const Version& version) {
  const fs::path config = scratch / ("config-" + version.number);
  const fs::path app = scratch / ("app-" + version.number);
  EXPECT_EQ(writeNewSetupFolder(config, "Upgrade Probe"), "");
  std::string script = readFileBytes((config / L"SC.dat").wstring()).value_or("");
  const auto set = [&script](const std::string& key, const std::string& value) {
    const std::string line = "\r\n" + key + " = ";
    const std::size_t at = script.find(line);
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t end = script.find("\r\n", at + line.size());
    script.replace(at + line.size(), end - at - line.size(), value);
  };
  set("Version", version.number);
  set("StartMenuFolder", version.startMenuList.empty() ? "0" : "1");
  EXPECT_TRUE(writeFileBytes((config / L"SC.dat").wstring(), script));
  EXPECT_TRUE(writeFileBytes((config / L"Startmenu.dat").wstring(), version.startMenuList));
  EXPECT_TRUE(writeFileBytes((config / L"Registry.dat").wstring(), registryList(version.values)));
  for (const auto& [path, bytes] : version.files) {
    fs::create_directories((app / path).parent_path());
    EXPECT_TRUE(writeFileBytes((app / path).wstring(), bytes));
  }
  const fs::path setup = scratch / ("UpgradeProbe-" + version.number + ".exe");
  EXPECT_EQ(buildSetup({bareSetupProgram(), config, app, setup}), "");
  return setup;
}

int installSilently(const fs::path& setup) {
  return runSilently({L"\"" + setup.wstring() + L"\" /S /D=" + kFolder.substr(0, kFolder.size() - 1), temporaryFolder()});
}

// What must stand on the machine, or must not: a file's bytes (empty: must be gone), a folder, a
// registry value's text.
struct ExpectedFile {
  std::wstring path;
  std::string bytes;
};

void expectFiles(const std::vector<ExpectedFile>& files) {
  for (const ExpectedFile& file : files) {
    SCOPED_TRACE(fs::path(file.path).string());
    if (file.bytes.empty()) {
      EXPECT_FALSE(fileExists(file.path) || folderExists(file.path));
    } else {
      EXPECT_EQ(readFileBytes(file.path).value_or("<missing>"), file.bytes);
    }
  }
}

TEST(UpgradeInPlace, WhatEveryVersionInstalledIsRemovedByTheLastUninstaller) {
  const std::wstring startMenu = shellFolder(CSIDL_PROGRAMS) + L"Upgrade Probe\\";
  const Cleanup cleanup({[] { removeTree(kFolder); }, [&] { removeTree(startMenu); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); },
                         [] { deleteRegistryTree(HKEY_CURRENT_USER, kValueKey); }});
  const fs::path scratch = scratchFolder(L"upgrade-in-place");
  const fs::path first = buildVersion(
      scratch, {"1.0",
                {{L"A.txt", "A of 1.0"}, {L"docs/B.txt", "B of 1.0"}},
                "<installpath>\\docs\\B.txt\r\nRead B\r\n\r\n",
                {{"HKEY_CURRENT_USER", "Software/AverluneE2E/Upgrade", "Old", "1.0 only", 1}}});
  const fs::path second =
      buildVersion(scratch, {"1.1", {{L"A.txt", "A of 1.1"}}, "",
                             {{"HKEY_CURRENT_USER", "Software/AverluneE2E/Upgrade", "Where", "<installpath>", 1}}});
  ASSERT_FALSE(HasFailure());
  CreateDirectoryW(L"C:\\AvE2E", nullptr);

  ASSERT_EQ(installSilently(first), 0);
  ASSERT_EQ(installSilently(second), 0);
  // 1.1 replaced what it ships and left what only 1.0 had; the one entry names 1.1.
  expectFiles({{kFolder + L"A.txt", "A of 1.1"}, {kFolder + L"docs\\B.txt", "B of 1.0"}});
  EXPECT_TRUE(fileExists(startMenu + L"Read B.lnk"));
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, kValueKey, L"Old").value_or(L"<missing>"), L"1.0 only");
  EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp), L"DisplayVersion").value_or(L"<missing>"), L"1.1");

  const std::wstring quiet =
      readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp), L"QuietUninstallString").value_or(L"<missing>");
  EXPECT_EQ(quiet, L"\"" + kFolder + L"uninstall.exe\" /S");
  EXPECT_EQ(runSilently({quiet, temporaryFolder()}), 0);
  // Nothing of either version is left: files, folders, the link and its folder, values, the entry.
  expectFiles({{kFolder + L"A.txt", ""}, {kFolder + L"docs\\B.txt", ""}, {kFolder + L"docs\\", ""},
               {kFolder + L"uninstall.dat", ""}, {kFolder, ""}, {startMenu + L"Read B.lnk", ""}, {startMenu, ""}});
  EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, kValueKey));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)));
}

}  // namespace
}  // namespace averlune::e2e
