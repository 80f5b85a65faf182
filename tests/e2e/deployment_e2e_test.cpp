// Runs as deployment tools start them: the uninstaller with /S among other words and a log of
// every item, a second setup while one runs, a silent install into a folder the uninstaller would
// refuse. Each journey's machine state afterwards is written as data.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/silent_run_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

const std::wstring kApp = L"Deploy Probe";
const std::wstring kFolder = L"C:\\AvE2D\\Deploy Probe\\";

std::wstring buildDeploySetup(const std::wstring& testName, const std::vector<std::string>& moreScript = {},
                              const std::vector<ConfigFile>& moreFiles = {}) {
  const std::wstring archive = scratchFolder(testName) + L"\\payload.zip";
  EXPECT_TRUE(writePayloadZip(archive, {{"bin/", ""}, {"bin/tool.exe", "tool"}, {"readme.txt", "read me"}}));
  std::vector<std::string> script = {"Appname = Deploy Probe", "Version = 1", "Languages = 1",
                                     "InstallDir = C:\\AvE2D\\Deploy Probe\\", "Uninstaller = 1",
                                     "UninstallerFilename = uninstall", "Registry = 1"};
  script.insert(script.end(), moreScript.begin(), moreScript.end());
  std::vector<ConfigFile> files = {
      {"Registry.dat", registryList({{"HKEY_CURRENT_USER", "Software/Deploy Probe", "Where", "<installpath>", 1}})}};
  std::vector<ConfigFile> config = setupConfig(script, files);
  for (const ConfigFile& file : moreFiles) {  // in place of the file of that name, or added
    const auto same = std::find_if(config.begin(), config.end(), [&](const ConfigFile& c) { return c.name == file.name; });
    if (same != config.end()) *same = file;
    else config.push_back(file);
  }
  return buildSetupWithPayload(testName, config, archive);
}

CommandLine quoted(const std::wstring& program, const std::wstring& switches,
                   const std::wstring& startFolder = temporaryFolder()) {
  return {L"\"" + program + L"\" " + switches, startFolder};
}

std::vector<std::string> logLines(const std::wstring& path) {
  const std::string bytes = readFileBytes(path).value_or("");
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", at);
    lines.push_back(bytes.substr(at, end - at));
    at = end == std::string::npos ? bytes.size() : end + 2;
  }
  return lines;
}

TEST(Deployment, TheUninstallerRemovesEverythingSilentlyAmongOtherWordsAndLogsEveryItem) {
  const Cleanup cleanup({[] { removeTree(L"C:\\AvE2D\\"); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); },
                         [] { deleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Deploy Probe"); }});
  const std::wstring setup = buildDeploySetup(L"deploy-uninstall-log");
  ASSERT_FALSE(setup.empty());
  ASSERT_EQ(runSilently(quoted(setup, L"/S")), 0);
  ASSERT_TRUE(fileExists(kFolder + L"uninstall.exe"));

  // A relative log names a file in the folder the uninstaller was started from.
  const std::wstring startFolder = std::filesystem::path(scratchFolder(L"deploy-uninstall-start")).make_preferred().wstring();
  DeleteFileW((startFolder + L"\\removed.txt").c_str());
  EXPECT_EQ(runSilently(quoted(kFolder + L"uninstall.exe", L"/norestart /S /LOG=removed.txt", startFolder)), 0);

  // The machine afterwards.
  EXPECT_TRUE(waitUntilGone(kFolder));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)));
  EXPECT_FALSE(readRegistryText(HKEY_CURRENT_USER, L"Software\\Deploy Probe", L"Where"));
  EXPECT_FALSE(fileExists(kFolder + L"removed.txt"));

  // The log: each item the setup wrote, named once as removed, nothing left.
  const std::vector<std::string> lines = logLines(startFolder + L"\\removed.txt");
  const std::string folder = "C:\\AvE2D\\Deploy Probe\\";
  const std::wstring entryKey = uninstallKeyOf(kApp);
  const std::set<std::string> removed = {
      "removed: " + folder + "bin\\tool.exe",
      "removed: " + folder + "readme.txt",
      "removed: " + folder + "bin\\",
      "removed: HKEY_LOCAL_MACHINE\\" + std::string(entryKey.begin(), entryKey.end()),
      "removed: HKEY_CURRENT_USER\\Software\\Deploy Probe\\Where",
  };
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "uninstall started, silent: " + folder + "uninstall.exe");
  EXPECT_EQ(lines.back(), "uninstall ended, exit code 0");
  std::set<std::string> seen;
  for (const std::string& line : lines) {
    if (line.rfind("removed: ", 0) == 0) EXPECT_TRUE(seen.insert(line).second) << "twice: " << line;
    EXPECT_NE(line.rfind("left: ", 0), 0u) << line;
  }
  EXPECT_EQ(seen, removed);
}

TEST(Deployment, ASecondSetupWhileOneRunsEndsWith1618AndLeavesTheFirstAlone) {
  const Cleanup cleanup({[] { removeTree(L"C:\\AvE2D\\"); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); },
                         [] { deleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Deploy Probe"); }});
  const std::wstring setup = buildDeploySetup(L"deploy-second");
  ASSERT_FALSE(setup.empty());
  WizardSession first(setup, kApp + L" Setup", L"deploy-second-first");
  ASSERT_TRUE(first.started());
  const std::wstring log = scratchFolder(L"deploy-second") + L"\\second.txt";
  DeleteFileW(log.c_str());
  const std::set<std::wstring> workFoldersBefore = workFoldersInTemp();

  EXPECT_EQ(runSilently(quoted(setup, L"/S /LOG=" + log)), 1618);

  EXPECT_EQ(logLines(log), (std::vector<std::string>{"setup started, silent", "another setup is running",
                                                     "setup ended, exit code 1618"}));
  EXPECT_EQ(workFoldersInTemp(), workFoldersBefore);
  EXPECT_FALSE(folderExists(kFolder));
  EXPECT_TRUE(first.running());
  EXPECT_TRUE(folderExists(first.workFolder()));
  ASSERT_TRUE(first.nextToInstallingPage());
  ASSERT_TRUE(first.watchInstallation(nullptr));
  EXPECT_TRUE(first.finish());
  EXPECT_EQ(readFileBytes(kFolder + L"readme.txt").value_or("<missing>"), "read me");
}

// The folder the uninstaller would refuse is refused before anything is written, also where no
// page asks for a folder; the text is the language file's.
TEST(Deployment, AFolderTheUninstallerWouldRefuseEndsTheRunBeforeAnythingIsWritten) {
  const std::wstring windowsProbe = L"C:\\windows\\Deploy Probe\\";
  const Cleanup cleanup({[] { removeTree(L"C:\\AvE2D\\"); }, [&] { removeTree(windowsProbe); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); },
                         [] { deleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Deploy Probe"); }});
  std::string language = readWholeFile(repositoryFolder() + L"\\sample\\config\\Default.avl");
  const std::size_t key = language.find("RefusedFolder = ");
  ASSERT_NE(key, std::string::npos);
  language.replace(key, language.find("\r\n", key) - key, "RefusedFolder = Not into this folder, please.");
  const std::wstring setup = buildDeploySetup(L"deploy-refused", {"ChangeApplicationFolder = 0"},
                                              {{"Default.avl", language}});
  ASSERT_FALSE(setup.empty());
  const std::wstring scratch = scratchFolder(L"deploy-refused-logs");
  const std::set<std::wstring> workFoldersBefore = workFoldersInTemp();

  struct Row {
    std::wstring switches;
    std::wstring refused;  // as the log names it
  };
  for (const Row& row : {Row{L"/S /D=C:\\windows\\Deploy Probe", L"C:\\windows\\Deploy Probe"},
                         Row{L"/S /D=C:\\", L"C:\\"}}) {
    SCOPED_TRACE(std::string(row.switches.begin(), row.switches.end()));
    const std::wstring log = scratch + L"\\refused.txt";
    DeleteFileW(log.c_str());
    EXPECT_EQ(runSilently(quoted(setup, L"/LOG=" + log + L" " + row.switches)), 1603);
    const std::vector<std::string> lines = logLines(log);
    const std::string refused(row.refused.begin(), row.refused.end());
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "refused application folder: " + refused + ": Not into this folder, please."),
              lines.end());
    EXPECT_EQ(lines.back(), "setup ended, exit code 1603");
  }
  // The wizard without its folder page tells the user and ends, with 0 as every wizard does.
  {
    const std::wstring log = scratch + L"\\wizard.txt";
    TestProcess wizard(quoted(setup, L"/LOG=" + log + L" /D=C:\\windows\\Deploy Probe"));
    ASSERT_TRUE(wizard.started());
    const auto box = waitForMessageBox(wizard.id(), 20000);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Not into this folder, please.");
    saveScreenshot(box->handle, screenshotPath(L"deploy-refused-folder"));
    pressMessageBoxButton(*box, L"OK");
    DWORD exitCode = 99;
    ASSERT_TRUE(wizard.waitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }

  // Nothing was written anywhere.
  EXPECT_FALSE(folderExists(windowsProbe));
  EXPECT_FALSE(folderExists(kFolder));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)));
  EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, L"Software\\Deploy Probe"));
  EXPECT_EQ(workFoldersInTemp(), workFoldersBefore);

  // A relative /D= names a folder below the one the setup was started from, which is no refusal.
  const std::wstring startFolder = L"C:\\AvE2D\\Start";
  std::filesystem::create_directories(startFolder);
  EXPECT_EQ(runSilently(quoted(setup, L"/S /D=Here\\Deploy Probe", startFolder)), 0);
  EXPECT_EQ(readFileBytes(startFolder + L"\\Here\\Deploy Probe\\readme.txt").value_or("<missing>"), "read me");
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, L"Software\\Deploy Probe", L"Where").value_or(L"<missing>"),
            startFolder + L"\\Here\\Deploy Probe");
  EXPECT_EQ(runSilently(quoted(startFolder + L"\\Here\\Deploy Probe\\uninstall.exe", L"/S")), 0);
  EXPECT_TRUE(waitUntilGone(startFolder + L"\\Here\\Deploy Probe"));
}

}  // namespace
}  // namespace averlune::e2e
