// What Finish does under Wine: the author's plug-in called before the work folder goes, the
// installed program launched in its own folder, the restart asked for with the shutdown privilege
// (by a test setup whose restart request is recorded instead of made), each only when its check
// box is ticked.
#include <gtest/gtest.h>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/keyboard_driver_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/window_driver_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

using I = ControlId;

constexpr int kInstallMs = 60000;

bool checked(const WizardSession& w, ControlId id) {
  return SendMessageW(w.control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Next through every page to the finish page.
bool toFinishPage(WizardSession& w) {
  return w.started() && w.nextToInstallingPage() && w.watchInstallation(nullptr, kInstallMs);
}

const std::vector<std::string> kScript = {"Appname = Tool", "Version = 1", "Languages = 1",
                                          "InstallDir = C:\\AvE2E\\Finish\\Tool\\", "Uninstaller = 0"};

std::vector<std::string> scriptWith(std::vector<std::string> lines) {
  lines.insert(lines.begin(), kScript.begin(), kScript.end());
  return lines;
}

TEST(FinishActions, ThePluginsExportsRunInAddressTableOrderOnTheWizardThreadBeforeTheWorkFolderGoes) {
  const std::wstring calls = scratchFolder(L"finish-plugin") + L"\\calls.txt";
  const Cleanup cleanup({[] { removeTree(L"C:\\AvE2E\\Finish"); },
                         [] { SetEnvironmentVariableW(L"AVERLUNE_PLUGIN_LOG", nullptr); }});
  ASSERT_TRUE(SetEnvironmentVariableW(L"AVERLUNE_PLUGIN_LOG", calls.c_str()));  // the setup inherits it
  const auto plugin = readFileBytes(AVERLUNE_TEST_FINISH_PLUGIN);
  ASSERT_TRUE(plugin);
  {
    WizardSession w(buildSetupWithConfig(L"finish-plugin", setupConfig(scriptWith({"Dll = 1"}), {{"dll.dll", *plugin}})),
                    L"Tool Setup", L"finish-plugin");
    ASSERT_TRUE(toFinishPage(w));
    EXPECT_FALSE(fileFacts(calls).exists);
    EXPECT_TRUE(w.finish());
    EXPECT_EQ(readFileBytes(calls).value_or(""),
              "Zeta wizard-thread=yes setup-cab=yes\r\nAlpha wizard-thread=yes setup-cab=yes\r\nunloaded\r\n");
  }
  // Dll set without dll.dll in the cabinet: Finish ends the run as if it were empty.
  removeTree(calls);
  WizardSession w(buildSetupWithConfig(L"finish-plugin-missing", setupConfig(scriptWith({"Dll = 1"}))), L"Tool Setup",
                  L"finish-plugin-missing");
  ASSERT_TRUE(toFinishPage(w));
  EXPECT_TRUE(w.finish());
  EXPECT_FALSE(fileFacts(calls).exists);
}

// The launch probe installed as the application's program, in a folder whose name has a space.
std::wstring launchSetup(const std::wstring& testName, const std::string& programRun) {
  const auto probe = readFileBytes(AVERLUNE_TEST_LAUNCH_PROBE);
  const std::wstring archive = scratchFolder(testName) + L"\\payload.zip";
  if (!probe || !writePayloadZip(archive, {{"probe.exe", *probe}})) return L"";
  return buildSetupWithPayload(
      testName, setupConfig(scriptWith({"Addition = 2", "ProgramRun = " + programRun, "ChangeApplicationFolder = 1"})),
      archive);
}

TEST(FinishActions, LaunchStartsTheInstalledProgramInItsFolderOnlyWhileTheBoxIsTicked) {
  const std::wstring folder = L"C:\\AvE2E\\Finish\\Launch Here";
  const Cleanup cleanup({[] { removeTree(L"C:\\AvE2E\\Finish"); }});
  const std::wstring setup = launchSetup(L"finish-launch", "<installpath>\\probe.exe");
  ASSERT_FALSE(setup.empty());
  {
    WizardSession w(setup, L"Tool Setup", L"finish-launch");
    // The field as a user leaves it: no closing backslash.
    ASSERT_TRUE(w.nextToInstallingPage([&](ControlId page) {
      if (page == I::appFolderPanel) SetWindowTextW(w.control(I::appFolderField), folder.c_str());
    }));
    ASSERT_TRUE(w.watchInstallation(nullptr, kInstallMs));
    EXPECT_EQ(w.text(I::finishCheckBox), L"Launch Tool");
    EXPECT_TRUE(checked(w, I::finishCheckBox));
    EXPECT_EQ(focusedWindow(w.control(I::finishCheckBox)), w.control(I::finishCheckBox));
    EXPECT_TRUE(w.finish());
    const std::string launched = writtenFile(folder + L"\\launched.txt", 10000);
    const std::wstring expected = folder + L"\r\n\"" + folder + L"\\probe.exe\"\r\n";
    EXPECT_EQ(launched, std::string(reinterpret_cast<const char*>(expected.data()), expected.size() * sizeof(wchar_t)));
  }
  removeTree(folder + L"\\launched.txt");
  {
    // Space on the focused box clears it: nothing is launched.
    WizardSession w(setup, L"Tool Setup", L"finish-launch-unticked");
    ASSERT_TRUE(w.nextToInstallingPage([&](ControlId page) {
      if (page == I::appFolderPanel) SetWindowTextW(w.control(I::appFolderField), folder.c_str());
    }));
    ASSERT_TRUE(w.watchInstallation(nullptr, kInstallMs));
    ASSERT_TRUE(pressKey(w.control(I::finishCheckBox), VK_SPACE));
    EXPECT_FALSE(checked(w, I::finishCheckBox));
    EXPECT_TRUE(w.finish());
    Sleep(2000);
    EXPECT_FALSE(fileFacts(folder + L"\\launched.txt").exists);
  }
  // A program that is not there: the run ends normally, and nothing is reported.
  WizardSession w(launchSetup(L"finish-launch-missing", "<installpath>\\missing.exe"), L"Tool Setup",
                  L"finish-launch-missing");
  ASSERT_TRUE(toFinishPage(w));
  ASSERT_TRUE(PostMessageW(w.control(I::nextButton), BM_CLICK, 0, 0));
  EXPECT_FALSE(waitForMessageBox(w.processId(), 2000));
  EXPECT_TRUE(w.endsCleanly());
}

TEST(FinishActions, RestartIsAskedForWithTheShutdownPrivilegeBeforeTheWindowHidesAndTheWorkFolderGoes) {
  const Cleanup cleanup({[] { removeTree(L"C:\\AvE2E\\Finish"); }});
  const std::wstring setup =
      buildSetupWithConfig(L"finish-restart", setupConfig(scriptWith({"Addition = 1"})), restartRecordingSetupProgram());
  ASSERT_FALSE(setup.empty());
  const std::wstring record = setup.substr(0, setup.find_last_of(L'\\') + 1) + L"restart-request.txt";
  {
    WizardSession w(setup, L"Tool Setup", L"finish-restart");
    ASSERT_TRUE(toFinishPage(w));
    EXPECT_EQ(w.text(I::finishCheckBox), L"Reboot computer now");
    EXPECT_TRUE(checked(w, I::finishCheckBox));
    ASSERT_TRUE(PostMessageW(w.control(I::nextButton), BM_CLICK, 0, 0));
    // The stand-in holds the run at the request until the test has looked.
    EXPECT_EQ(writtenFile(record, 10000),
              "ExitWindowsEx flags=2 reason=0 shutdown-privilege=enabled disabled-at-start=yes\r\n");
    EXPECT_TRUE(folderExists(w.workFolder()));
    EXPECT_TRUE(IsWindowVisible(w.control(I::nextButton)));
    const HANDLE recorded = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"AverluneRestartRecorded");
    ASSERT_NE(recorded, nullptr);
    SetEvent(recorded);
    CloseHandle(recorded);
    EXPECT_TRUE(w.endsCleanly());
  }
  removeTree(record);
  WizardSession w(setup, L"Tool Setup", L"finish-restart-unticked");
  ASSERT_TRUE(toFinishPage(w));
  ASSERT_TRUE(PostMessageW(w.control(I::finishCheckBox), BM_CLICK, 0, 0));
  EXPECT_TRUE(w.finish());
  EXPECT_FALSE(fileFacts(record).exists);
}

}  // namespace
}  // namespace averlune::e2e
