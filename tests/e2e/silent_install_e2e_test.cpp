// Installations as deployment tools run them: /S without any window, /D into a folder with spaces,
// /LOG naming every step, and the outcome in the exit code; /LOG and /D with the wizard too; and the
// configuration folder averlune-build --new writes, installed as it stands.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cwchar>
#include <filesystem>
#include <set>
#include <vector>

#include "authoring/new_setup_folder.h"
#include "authoring/setup_builder.h"
#include "guards/dacl_test_support_win.h"
#include "config/fixed_texts.h"

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/silent_run_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

const std::wstring kApp = L"Quiet Probe";
const std::wstring kDefaultFolder = L"C:\\AvE2E\\Quiet Default\\";
const std::wstring kChosenFolder = L"C:\\AvE2E\\Quiet Place With Spaces\\";

std::wstring buildQuietSetup(const std::wstring& testName) {
  const std::wstring archive = scratchFolder(testName) + L"\\payload.zip";
  EXPECT_TRUE(writePayloadZip(archive, {{"bin/tool.exe", "tool"}, {"readme.txt", "read me"}}));
  return buildSetupWithPayload(
      testName,
      setupConfig({"Appname = Quiet Probe", "Version = 2", "Languages = 1", "InstallDir = C:\\AvE2E\\Quiet Default\\",
                   "ChangeApplicationFolder = 1", "Uninstaller = 1", "UninstallerFilename = uninstall", "Registry = 1",
                   "Desktopicon = 0", "Allow_Desktopicons = 1"},
                  {{"Registry.dat", registryList({{"HKEY_CURRENT_USER", "Software/Quiet Probe", "Where", "<installpath>", 1}})},
                   {"Desktop.dat", "<installpath>\\bin\\tool.exe\r\nQuiet Probe\r\n\r\n"}}),
      archive);
}

CommandLine quoted(const std::wstring& setup, const std::wstring& switches) {
  return {L"\"" + setup + L"\" " + switches, temporaryFolder()};
}

TEST(SilentInstall, InstallsWithoutAWindowIntoTheFolderGivenLogsEachStepAndTellsTheOutcome) {
  const Cleanup cleanup({[] { removeTree(kDefaultFolder); }, [] { removeTree(kChosenFolder); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); },
                         [] { deleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Quiet Probe"); }});
  const std::wstring setup = buildQuietSetup(L"silent-install");
  ASSERT_FALSE(setup.empty());
  const std::wstring log = scratchFolder(L"silent-install-log") + L"\\setup log.txt";
  const std::set<std::wstring> workFoldersBefore = workFoldersInTemp();

  // /D takes the rest of the command line, spaces and all; the log may be quoted.
  EXPECT_EQ(runSilently(quoted(setup, L"/S \"/LOG=" + log + L"\" /D=" + kChosenFolder.substr(0, kChosenFolder.size() - 1))), 0);
  EXPECT_EQ(readFileBytes(kChosenFolder + L"bin\\tool.exe").value_or("<missing>"), "tool");
  EXPECT_EQ(readFileBytes(kChosenFolder + L"readme.txt").value_or("<missing>"), "read me");
  EXPECT_TRUE(fileExists(kChosenFolder + L"uninstall.exe"));
  EXPECT_FALSE(folderExists(kDefaultFolder));
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, L"Software\\Quiet Probe", L"Where").value_or(L"<missing>"),
            kChosenFolder.substr(0, kChosenFolder.size() - 1));
  EXPECT_EQ(workFoldersInTemp(), workFoldersBefore);
  const std::string written = readFileBytes(log).value_or("");
  for (const char* line : {"setup started, silent\r\n", "installing silently into C:\\AvE2E\\Quiet Place With Spaces\r\n",
                           "status: Installing.. C:\\AvE2E\\Quiet Place With Spaces\\bin\\tool.exe\r\n",
                           "uninstaller: C:\\AvE2E\\Quiet Place With Spaces\\uninstall.exe\r\n",
                           "registry value: HKEY_CURRENT_USER\\Software\\Quiet Probe\\Where = C:\\AvE2E\\Quiet Place With Spaces\r\n",
                           "installation finished\r\n", "setup ended, exit code 0\r\n"}) {
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n--- log ---\n" << written;
  }

  // A file that cannot take its path fails the extraction; silently that is Abort: exit code 1603, the
  // log names the file, and what came before it stays. (A file merely in use waits for the
  // restart instead: SilentInstall.AFileInUseIsReplacedAtTheNextRestartUnlessUninstalledFirst.)
  removeTree(kChosenFolder);
  CreateDirectoryW(L"C:\\AvE2E", nullptr);
  ASSERT_TRUE(CreateDirectoryW(kDefaultFolder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((kDefaultFolder + L"readme.txt").c_str(), nullptr));
  const std::wstring abortLog = scratchFolder(L"silent-install-abort") + L"\\abort.txt";
  EXPECT_EQ(runSilently(quoted(setup, L"/S /LOG=" + abortLog)), 1603);
  const std::string aborted = readFileBytes(abortLog).value_or("");
  EXPECT_NE(aborted.find("failure: Could not extract file! readme.txt\r\nanswer: Abort\r\n"), std::string::npos) << aborted;
  EXPECT_NE(aborted.find("setup ended, exit code 1603\r\n"), std::string::npos) << aborted;
  EXPECT_EQ(readFileBytes(kDefaultFolder + L"bin\\tool.exe").value_or("<missing>"), "tool");
  EXPECT_TRUE(folderExists(kDefaultFolder + L"readme.txt"));
  EXPECT_EQ(workFoldersInTemp(), workFoldersBefore);

  // A setup that cannot start: exit code 1603 and its reason in the log, no box. A relative log path
  // names one file in the folder the setup was started from, although start-up moves to its own.
  const std::wstring bare = bareSetupProgram();
  const std::wstring startFolder = std::filesystem::path(scratchFolder(L"silent-install-bare")).make_preferred().wstring();
  const std::wstring besideSetup = bare.substr(0, bare.find_last_of(L"\\/") + 1) + L"bare.txt";
  DeleteFileW(besideSetup.c_str());
  EXPECT_EQ(runSilently({L"\"" + bare + L"\" /S /LOG=bare.txt", startFolder}), 1603);
  const std::string failed = readFileBytes(startFolder + L"\\bare.txt").value_or("");
  EXPECT_NE(failed.find("setup started, silent\r\n"), std::string::npos) << failed;
  EXPECT_NE(failed.find("start-up failure: "), std::string::npos) << failed;
  EXPECT_FALSE(fileExists(besideSetup));

  // /? shows the switches and installs nothing.
  TestProcess help(quoted(setup, L"/?"));
  const auto box = waitForMessageBox(help.id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"/D=<folder>"), std::wstring::npos);
  ASSERT_TRUE(pressMessageBoxButton(*box, L"OK"));
  DWORD exitCode = 1;
  EXPECT_TRUE(help.waitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

// Every level the setup makes is the machine's, a level that stood keeps its own DACL; and an
// uninstaller name that another program holds open is never registered: the entry would name that
// program's file.
TEST(SilentInstall, MadeLevelsAreTheMachinesAndAnUninstallerNameInUseIsNeverRegistered) {
  const std::wstring made = L"C:\\AvE2E\\Quiet Made\\";
  const std::wstring app = made + L"Level Two\\";
  const Cleanup cleanup({[&] { removeTree(made); }, [] { removeTree(kDefaultFolder); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); },
                         [] { deleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Quiet Probe"); }});
  const std::wstring setup = buildQuietSetup(L"silent-install-machine");
  ASSERT_FALSE(setup.empty());
  CreateDirectoryW(L"C:\\AvE2E", nullptr);
  removeTree(made);
  EXPECT_EQ(runSilently(quoted(setup, L"/S /D=" + app)), 0);
  ASSERT_EQ(readFileBytes(app + L"bin\\tool.exe").value_or("<missing>"), "tool");
  for (const std::wstring& level : {made, app, app + L"bin\\"}) {
    SCOPED_TRACE(std::filesystem::path(level).string());
    const FileDaclFacts facts = fileDaclFacts(std::u16string(level.begin(), level.end()));
    EXPECT_TRUE(facts.read);
    EXPECT_FALSE(facts.usersMayChange);
    if (systemKeepsDaclsAsWritten()) {
      EXPECT_TRUE(facts.isProtected);
      EXPECT_TRUE(facts.usersMayRead);
    }
  }
  deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp));

  CreateDirectoryW(kDefaultFolder.c_str(), nullptr);
  ASSERT_TRUE(writeFileBytes(kDefaultFolder + L"uninstall.exe", "someone else's program"));
  {
    HeldFile held(kDefaultFolder + L"uninstall.exe");
    ASSERT_TRUE(held.held());
    EXPECT_EQ(runSilently(quoted(setup, L"/S")), 0);
  }
  EXPECT_EQ(readFileBytes(kDefaultFolder + L"readme.txt").value_or("<missing>"), "read me");
  EXPECT_EQ(readFileBytes(kDefaultFolder + L"uninstall.exe").value_or("<missing>"), "someone else's program");
  EXPECT_FALSE(fileExists(kDefaultFolder + L"uninstall.dat"));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)));
}

// An upgrade while the application runs: version 1.1 over 1.0 with one of 1.0's files held open by
// another program. The silent run writes 1.1's file beside it, queues the rename for the next
// restart and says so (3010, and the file in the log); the restart puts 1.1's bytes in place.
TEST(SilentInstall, AFileInUseIsReplacedAtTheNextRestartUnlessUninstalledFirst) {
  const std::wstring folder = L"C:\\AvE2E\\Busy Upgrade\\";
  const std::wstring app = L"Busy Upgrade";
  const Cleanup cleanup({[&] { removeTree(folder); }, [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(app)); }});
  const auto buildVersion = [&](const std::string& version, const std::vector<PayloadEntry>& files) {
    const std::wstring name = L"silent-in-use-" + std::wstring(version.begin(), version.end());
    const std::wstring archive = scratchFolder(name) + L"\\payload.zip";
    EXPECT_TRUE(writePayloadZip(archive, files));
    return buildSetupWithPayload(
        name,
        setupConfig({"Appname = Busy Upgrade", "Version = " + version, "Languages = 1",
                     "InstallDir = C:\\AvE2E\\Busy Upgrade\\", "Uninstaller = 1", "UninstallerFilename = uninstall"},
                    {}),
        archive);
  };
  const std::wstring first = buildVersion("1.0", {{"A.txt", "A of 1.0"}, {"B.txt", "B of 1.0"}});
  const std::wstring second = buildVersion("1.1", {{"A.txt", "A of 1.1"}, {"B.txt", "B of 1.1"}});
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  CreateDirectoryW(L"C:\\AvE2E", nullptr);
  removeTree(folder);
  ASSERT_EQ(runSilently(quoted(first, L"/S")), 0);

  const std::wstring log = scratchFolder(L"silent-in-use-log") + L"\\upgrade.txt";
  const std::wstring queueBefore = pendingRenames();
  {
    HeldFile held(folder + L"A.txt");
    ASSERT_TRUE(held.held());
    EXPECT_EQ(runSilently(quoted(second, L"/S /LOG=" + log)), 3010);
  }
  const std::string written = readFileBytes(log).value_or("");
  for (const std::string line : {"replaced at the next restart: C:\\AvE2E\\Busy Upgrade\\A.txt",
                                 "setup ended, exit code 3010\r\n"}) {
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n--- log ---\n" << written;
  }
  EXPECT_EQ(written.find("failure:"), std::string::npos) << written;

  // Before the restart: the held file keeps 1.0's bytes, 1.1's wait beside it under a new name that
  // the queue renames over it; every other file is 1.1's already.
  const struct {
    const wchar_t* name;
    const char* before;
    const char* after;
  } files[] = {{L"A.txt", "A of 1.0", "A of 1.1"}, {L"B.txt", "B of 1.1", "B of 1.1"}};
  for (const auto& file : files) {
    EXPECT_EQ(readFileBytes(folder + file.name).value_or("<missing>"), file.before) << fs::path(file.name).string();
  }
  std::wstring waiting;
  for (const std::wstring& name : folderEntries(folder)) {
    if (name.rfind(L"A.txt.{", 0) == 0) waiting = name;
  }
  ASSERT_FALSE(waiting.empty());
  EXPECT_EQ(readFileBytes(folder + waiting).value_or("<missing>"), "A of 1.1");
  const std::wstring queued = pendingRenames();
  EXPECT_NE(queued.find(upperCased(L"\\??\\" + folder + waiting + L"|!\\??\\" + folder + L"A.txt|")), std::wstring::npos)
      << fs::path(queued).string();
  EXPECT_NE(queued, queueBefore);

  TestProcess restart({L"wineboot.exe --restart", temporaryFolder()});
  ASSERT_TRUE(restart.started());
  EXPECT_TRUE(restart.waitForExit(20000, nullptr));
  for (const auto& file : files) {
    EXPECT_EQ(readFileBytes(folder + file.name).value_or("<missing>"), file.after) << fs::path(file.name).string();
  }
  EXPECT_FALSE(fileExists(folder + waiting));

  // Held again, replaced again, and then uninstalled before the restart: the copy that waited goes
  // with the rest, and the restart puts nothing back where the application was.
  {
    HeldFile held(folder + L"A.txt");
    ASSERT_TRUE(held.held());
    EXPECT_EQ(runSilently(quoted(second, L"/S")), 3010);
  }
  EXPECT_EQ(runSilently(quoted(folder + L"uninstall.exe", L"/S")), 0);
  EXPECT_TRUE(waitUntilGone(folder));
  TestProcess secondRestart({L"wineboot.exe --restart", temporaryFolder()});
  ASSERT_TRUE(secondRestart.started());
  EXPECT_TRUE(secondRestart.waitForExit(20000, nullptr));
  EXPECT_FALSE(folderExists(folder));
}

// /D= fills the wizard's folder page; a folder the uninstaller would refuse keeps the page until
// the user names another.
TEST(SilentInstall, LogAndFolderWithTheWizardRecordTheInstallationTheUserRan) {
  const Cleanup cleanup({[] { removeTree(kChosenFolder); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); },
                         [] { deleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Quiet Probe"); }});
  const std::wstring setup = buildQuietSetup(L"wizard-log");
  ASSERT_FALSE(setup.empty());
  const std::wstring log = scratchFolder(L"wizard-log-file") + L"\\wizard.txt";
  const std::wstring chosen = kChosenFolder.substr(0, kChosenFolder.size() - 1);
  WizardSession w(quoted(setup, L"/LOG=" + log + L" /D=" + chosen), kApp + L" Setup", L"wizard-log");
  ASSERT_TRUE(w.started());
  std::vector<std::wstring> refusals;
  ASSERT_TRUE(w.nextToInstallingPage([&](ControlId page) {
    if (page != ControlId::appFolderPanel) return;
    EXPECT_EQ(w.text(ControlId::appFolderField), chosen);
    for (const wchar_t* refused : {L"C:\\", L"C:\\windows", L"C:\\users\\someone"}) {
      SetWindowTextW(w.control(ControlId::appFolderField), refused);
      PostMessageW(w.control(ControlId::nextButton), BM_CLICK, 0, 0);
      const auto box = waitForMessageBox(w.processId(), 10000);
      refusals.push_back(box ? box->text : L"<no box>");
      if (box) pressMessageBoxButton(*box, L"OK");
      EXPECT_EQ(w.currentPage(), ControlId::appFolderPanel) << refused;
    }
    SetWindowTextW(w.control(ControlId::appFolderField), chosen.c_str());
  }));
  const std::u16string refusedText = kRefusedAppFolderText;
  EXPECT_EQ(refusals, std::vector<std::wstring>(3, std::wstring(refusedText.begin(), refusedText.end())));
  ASSERT_TRUE(w.watchInstallation(nullptr));
  EXPECT_TRUE(w.finish());
  EXPECT_TRUE(readFileBytes(kChosenFolder + L"readme.txt"));
  // Desktopicon = 0: Desktop.dat makes no link, whatever Allow_Desktopicons says.
  EXPECT_FALSE(fileFacts(shellFolder(CSIDL_DESKTOPDIRECTORY) + kApp + L".lnk").exists);
  const std::string written = readFileBytes(log).value_or("");
  for (const char* line : {"setup started\r\n", "status: Installing.. C:\\AvE2E\\Quiet Place With Spaces\\readme.txt\r\n",
                           "installation finished\r\n", "setup ended, exit code 0\r\n"}) {
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n--- log ---\n" << written;
  }
}

// A drive too small for the payload: the run aborts with 1603 and leaves no file cut short, and the
// uninstaller it wrote first (started by hand: the uninstall entry comes after the payload) then
// leaves the drive empty. E: is a memory file system of 1 MiB where the test run may mount one.
TEST(SilentInstall, ADriveTooSmallLeavesNoCutFileAndAnUninstallerThatEmptiesIt) {
  ULARGE_INTEGER size{};
  if (!GetDiskFreeSpaceExW(L"E:\\", nullptr, &size, nullptr) || size.QuadPart > (4u << 20)) {
    GTEST_SKIP() << "no small drive E: on this machine (mounting one needs root)";
  }
  const std::wstring folder = L"E:\\Small Probe\\";
  const Cleanup cleanup({[&] { removeTree(folder); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(L"Small Probe")); }});
  const std::wstring scratch = scratchFolder(L"small-drive");
  ASSERT_TRUE(writePayloadZip(scratch + L"\\payload.zip", {{"docs/", ""},
                                                           {"docs/a.txt", "a"},
                                                           {"big.bin", std::string(3 << 20, 'z')},
                                                           {"after.txt", "after"}}));
  const std::wstring setup = buildSetupWithPayload(
      L"small-drive",
      setupConfig({"Appname = Small Probe", "Version = 1", "Languages = 1", "InstallDir = E:\\Small Probe\\",
                   "Uninstaller = 1", "UninstallerFilename = uninstall"}),
      scratch + L"\\payload.zip");
  ASSERT_FALSE(setup.empty());
  const std::wstring log = scratch + L"\\log.txt";

  EXPECT_EQ(runSilently(quoted(setup, L"/S /LOG=" + log)), 1603);
  const std::string written = readFileBytes(log).value_or("");
  EXPECT_NE(written.find("removed after the failure: E:\\Small Probe\\big.bin\r\n"), std::string::npos) << written;
  EXPECT_EQ(readFileBytes(folder + L"docs\\a.txt").value_or("<missing>"), "a");
  EXPECT_FALSE(fileExists(folder + L"big.bin"));
  EXPECT_FALSE(fileExists(folder + L"after.txt"));

  EXPECT_EQ(runSilently({L"\"" + folder + L"uninstall.exe\" /S", temporaryFolder()}), 0);
  EXPECT_FALSE(folderExists(folder));
  // All that stays on the drive until the restart is the uninstaller's leftovers' folder in its
  // root (the drive holds no Windows folder), emptied once the uninstaller has ended.
  const auto leftOnDrive = [] {
    std::vector<std::wstring> left;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(L"E:\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return left;
    do {
      if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0) {
        left.push_back(found.cFileName);
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return left;
  };
  const std::vector<std::wstring> left = leftOnDrive();
  ASSERT_EQ(left.size(), 1u);
  const std::wstring leftovers = L"E:\\" + left.front() + L"\\";
  EXPECT_EQ(left.front().size(), 38u) << std::filesystem::path(left.front()).string();  // {GUID}
  for (int waited = 0; fileExists(leftovers + L"uninstall.exe") && waited < 30000; waited += 100) Sleep(100);
  EXPECT_FALSE(fileExists(leftovers + L"uninstall.exe"));
  removeTree(leftovers);
}

TEST(SilentInstall, ANewSetupsConfigurationInstallsAsItStands) {
  namespace fs = std::filesystem;
  const std::wstring app = L"Fresh Probe";
  const std::wstring folder = L"C:\\AvE2E\\Fresh Probe\\";
  const Cleanup cleanup({[&] { removeTree(folder); },
                         [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(app)); }});
  const fs::path scratch = scratchFolder(L"new-setup");
  ASSERT_EQ(writeNewSetupFolder(scratch / L"config", "Fresh Probe"), "");
  fs::create_directories(scratch / L"app");
  ASSERT_TRUE(writeFileBytes((scratch / L"app" / L"fresh.txt").wstring(), "fresh"));
  const fs::path setup = scratch / L"FreshSetup.exe";
  ASSERT_EQ(buildSetup({bareSetupProgram(), scratch / L"config", scratch / L"app", setup}), "");

  EXPECT_EQ(runSilently(quoted(setup.wstring(), L"/S /D=" + folder.substr(0, folder.size() - 1))), 0);
  const std::string language =
      readFileBytes((scratch / L"config" / L"Default.avl").wstring()).value_or("<missing>");
  const struct {
    std::wstring path;
    std::string bytes;  // empty: only that the file is there
  } files[] = {
      {L"fresh.txt", "fresh"}, {L"uninstall.exe", ""}, {L"uninstall.dat", ""}, {L"uninstall_l.avl", language}};
  for (const auto& file : files) {
    const auto bytes = readFileBytes(folder + file.path);
    ASSERT_TRUE(bytes) << fs::path(file.path).string();
    if (!file.bytes.empty()) {
      EXPECT_EQ(*bytes, file.bytes) << fs::path(file.path).string();
    }
  }
  const std::pair<const wchar_t*, std::wstring> entry[] = {
      {L"DisplayName", app},
      {L"DisplayVersion", L"1.0"},
      {L"UninstallString", L"\"" + folder + L"uninstall.exe\""}};
  for (const auto& [name, value] : entry) {
    EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(app), name).value_or(L"<missing>"), value) << name;
  }
}

}  // namespace
}  // namespace averlune::e2e
