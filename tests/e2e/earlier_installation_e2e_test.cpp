// An upgrade as an administrator runs it: version 1.0 installed into a folder of the
// administrator's choosing, then 1.1 started with plain /S lands in that same folder with its
// links in the same start menu folder, and the one uninstall entry describes 1.1 there. An entry
// written by an older setup (no InstallLocation) still leads the wizard back to its folder.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/silent_run_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

const std::wstring kApp = L"Upgrade Probe";
const std::wstring kDefaultFolder = L"C:\\AvE2E\\Upgrade Default\\";
const std::wstring kChosenFolder = L"C:\\AvE2E\\Apps\\Notes\\";

// A version of the application: its payload and the start menu folder its script proposes (the
// author moved the group in 1.1).
std::wstring buildVersion(const std::wstring& testName, const std::string& version,
                          const std::vector<PayloadEntry>& payload, const std::string& shortcutFolder) {
  const std::wstring archive = scratchFolder(testName) + L"\\payload.zip";
  EXPECT_TRUE(writePayloadZip(archive, payload));
  return buildSetupWithPayload(
      testName,
      setupConfig({"Appname = Upgrade Probe", "Version = " + version, "Languages = 1",
                   "InstallDir = C:\\AvE2E\\Upgrade Default\\", "ChangeApplicationFolder = 1", "Uninstaller = 1",
                   "UninstallerFilename = uninstall", "StartMenuFolder = 1", "Allow_StartMenuFolder = 1",
                   "ChangeStartMenuFolder = 1", "ShortcutFolder = " + shortcutFolder},
                  {{"Startmenu.dat", "<installpath>\\A.txt\r\nProbe A\r\n\r\n"}}),
      archive);
}

CommandLine quoted(const std::wstring& setup, const std::wstring& switches) {
  return {L"\"" + setup + L"\" " + switches, temporaryFolder()};
}

// The uninstall entries whose name starts with the application's: exactly one is expected.
std::vector<std::wstring> entriesNamed(const std::wstring& prefix) {
  std::vector<std::wstring> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return names;
  }
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (std::wstring(name, length).rfind(prefix, 0) == 0) names.emplace_back(name, length);
  }
  RegCloseKey(key);
  return names;
}

TEST(EarlierInstallation, OneZeroInAChosenFolderThenOneOneWithPlainSilentLandsThereUnderOneEntry) {
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  const std::wstring earlierGroup = programs + L"Upgrade Probe\\";
  const std::wstring movedGroup = programs + L"Probes\\";
  const Cleanup cleanup({[] { removeTree(L"C:\\AvE2E\\Apps\\"); }, [] { removeTree(kDefaultFolder); },
                         [&] { removeTree(earlierGroup); },
                         [&] { removeTree(movedGroup); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); }});
  const std::wstring v10 = buildVersion(L"upgrade-1.0", "1.0", {{"A.txt", "1.0 A"}, {"B.txt", "1.0 B"}}, "<appname>\\");
  const std::wstring v11 = buildVersion(L"upgrade-1.1", "1.1", {{"A.txt", "1.1 A"}}, "Probes\\<appname>\\");
  ASSERT_FALSE(v10.empty());
  ASSERT_FALSE(v11.empty());

  ASSERT_EQ(runSilently(quoted(v10, L"/S /D=" + kChosenFolder.substr(0, kChosenFolder.size() - 1))), 0);
  ASSERT_EQ(readFileBytes(kChosenFolder + L"A.txt").value_or("<missing>"), "1.0 A");
  const std::wstring log = scratchFolder(L"upgrade-log") + L"\\1.1.txt";
  DeleteFileW(log.c_str());
  EXPECT_EQ(runSilently(quoted(v11, L"/S /LOG=" + log)), 0);

  // The machine after 1.1: the files of 1.1 in the folder 1.0 went to, nothing in the script's
  // folder, the links in the start menu folder 1.0 made, one entry naming 1.1 there.
  const struct {
    std::wstring path;
    const char* bytes;  // nullptr: only that it is there
  } files[] = {{kChosenFolder + L"A.txt", "1.1 A"}, {kChosenFolder + L"uninstall.exe", nullptr},
               {kChosenFolder + L"uninstall.dat", nullptr}, {earlierGroup + L"Probe A.lnk", nullptr}};
  for (const auto& file : files) {
    SCOPED_TRACE(std::filesystem::path(file.path).string());
    const auto bytes = readFileBytes(file.path);
    ASSERT_TRUE(bytes);
    if (file.bytes) EXPECT_EQ(*bytes, file.bytes);
  }
  EXPECT_EQ(readShortcut(earlierGroup + L"Probe A.lnk").target, kChosenFolder + L"A.txt");
  for (const std::wstring& absent : {kDefaultFolder, movedGroup}) {
    EXPECT_FALSE(folderExists(absent)) << std::filesystem::path(absent).string();
  }
  EXPECT_EQ(entriesNamed(kApp), std::vector<std::wstring>{kApp});
  const std::pair<const wchar_t*, std::wstring> entry[] = {
      {L"DisplayName", kApp},
      {L"DisplayVersion", L"1.1"},
      {L"InstallLocation", kChosenFolder},
      {L"ShortcutFolder", L"Upgrade Probe\\"},
      {L"UninstallString", L"\"" + kChosenFolder + L"uninstall.exe\""},
      {L"QuietUninstallString", L"\"" + kChosenFolder + L"uninstall.exe\" /S"},
  };
  for (const auto& [name, value] : entry) {
    EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp), name).value_or(L"<missing>"), value)
        << std::filesystem::path(name).string();
  }
  const std::string written = readFileBytes(log).value_or("");
  for (const char* line : {"earlier installation in C:\\AvE2E\\Apps\\Notes\\\r\n",
                           "installing silently into C:\\AvE2E\\Apps\\Notes\\\r\n"}) {
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n--- log ---\n" << written;
  }

  // An entry as older setups wrote it, without InstallLocation and ShortcutFolder: the wizard's
  // folder page starts with the uninstaller's folder, the start menu page with the script's
  // folder, and the run writes both values again.
  const std::wstring key = uninstallKeyOf(kApp);
  ASSERT_EQ(RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"InstallLocation"), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"ShortcutFolder"), ERROR_SUCCESS);
  WizardSession w(v11, kApp + L" Setup", L"upgrade-older-entry");
  ASSERT_TRUE(w.started());
  std::wstring appFolderShown, startMenuShown;
  ASSERT_TRUE(w.nextToInstallingPage([&](ControlId page) {
    tickStartMenuBox(w, page);
    if (page == ControlId::appFolderPanel) appFolderShown = w.text(ControlId::appFolderField);
    if (page == ControlId::startMenuPanel) startMenuShown = w.text(ControlId::startMenuFolderField);
  }));
  ASSERT_TRUE(w.watchInstallation(nullptr));
  EXPECT_TRUE(w.finish());
  EXPECT_EQ(appFolderShown, kChosenFolder);
  EXPECT_EQ(startMenuShown, L"Probes\\Upgrade Probe\\");
  EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, key, L"InstallLocation").value_or(L"<missing>"), kChosenFolder);
  EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, key, L"ShortcutFolder").value_or(L"<missing>"),
            L"Probes\\Upgrade Probe\\");
  EXPECT_FALSE(folderExists(kDefaultFolder));
  EXPECT_EQ(entriesNamed(kApp), std::vector<std::wstring>{kApp});
}

}  // namespace
}  // namespace averlune::e2e
