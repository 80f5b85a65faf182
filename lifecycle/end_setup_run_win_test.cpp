// The end of a setup run while the installation runs: whoever asks (an Abort on the installation
// thread, Cancel's OK on the main thread, or both at once), the run ends exactly once, on the
// main thread. The run is a real one in this process: its wizard, its installation thread, its
// work folder and instance lock; only the process stays, its end counted instead.
#include "lifecycle/setup_run_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/own_file_win.h"
#include "base/registry_win.h"
#include "guards/sha256_win.h"
#include "config/uninstall_log.h"
#include "install/payload_test_support.h"
#include "lifecycle/instance_lock_win.h"
#include "wizard/wizard_navigation_win.h"
#include "wizard/wizard_pages.h"
#include "wizard/wizard_test_support_win.h"
#include "wizard/build_wizard_win.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;
using namespace wizardtest;

constexpr char16_t kTestLockName[] = u"AverluneEndSetupRunTest";

std::vector<DWORD> exitThreads;  // the thread of every end of the process the run asked for

void WINAPI countExit(UINT) { exitThreads.push_back(GetCurrentThreadId()); }

class RunEnd : public testing::Test {
 protected:
  void SetUp() override {
    exitThreads.clear();
    fs::create_directories(scratch.path / "work" / "inner");
    std::ofstream(scratch.path / "work" / "inner" / "SC.dat") << "[Setup]\n";
    SetupState& state = run.state;
    state.workFolder = (scratch.path / "work" / "").u16string();
    run.workFolder = OwnedHandle(CreateFileW((scratch.path / "work").c_str(),
                                             FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | DELETE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    ASSERT_TRUE(run.workFolder);
    state.ownFile = (scratch.path / "setup.exe").u16string();
    state.languageTexts.Messages.ExitSetupH = u"Exit Setup";
    state.languageTexts.Messages.ExitSetup = u"Do you want to abort the installation?";
    state.languageTexts.Messages.CouldNotExtractFileH = u"Error";
    state.languageTexts.Messages.CouldNotExtractFile = u"Could not extract file!";
    // Every optional page off: Next on the welcome page starts the installation.
    ASSERT_EQ(acquireInstanceLock(kTestLockName, run.instanceLock), InstanceLockResult::acquired);
    run.exitProcess = countExit;
    prepareWizard(run);
    ASSERT_TRUE(buildWizard(*run.wizard));
    showWizard(*run.wizard);
    window = run.wizard->window.get();
    SetWindowTextW(run.wizard->controls.appFolderField, (scratch.path / "app").c_str());
  }

  void TearDown() override {
    if (run.wizard && run.wizard->installationThread) {
      EXPECT_TRUE(pumpUntilEnded(run.wizard->installationThread.get()));
    }
    pumpFor(100);  // whatever the installation thread still sent: it must end nothing more
    EXPECT_EQ(exitThreads, std::vector<DWORD>{mainThread});
  }

  // Cancel pressed as a click on it reports it to the wizard window.
  void pressCancel() const {
    PostMessageW(window, WM_COMMAND,
                 MAKEWPARAM(kControlCommandBase + static_cast<int>(ControlId::cancelButton), BN_CLICKED),
                 reinterpret_cast<LPARAM>(run.wizard->controls.cancelButton));
  }

  // What one end leaves behind, seen from outside the run.
  void expectEnded() {
    EXPECT_TRUE(run.ended);
    EXPECT_FALSE(fs::exists(scratch.path / "work"));
    EXPECT_FALSE(IsWindow(window));
    OwnedMutex again;
    EXPECT_EQ(acquireInstanceLock(kTestLockName, again), InstanceLockResult::acquired);
  }

  payloadtest::ScratchFolder scratch;
  SetupRun run;
  HWND window = nullptr;
  const DWORD mainThread = GetCurrentThreadId();
};

TEST_F(RunEnd, AbortDuringInstallationEndsTheRunOnceOnTheMainThread) {
  // The second entry cannot be extracted (its name leaves the application folder): the run asks.
  payloadtest::writeArchive(scratch.path / "setup.exe",
                            {{"a.txt", "before"}, {"../evil.txt", "refused"}, {"z.txt", "after"}}, "MZ image");
  // Held as runSetup holds the setup's own file; the installation reads through it.
  run.ownFile = openOwnFile(run.state.ownFile);
  run.wizard->ownFile = run.ownFile.get();
  ShownBox question;
  std::thread answerer([&] {
    question = waitForBox(mainThread);
    pressBoxButton(question.handle, IDABORT);
  });
  goNext(*run.wizard);
  const bool ended = pumpUntil([] { return !exitThreads.empty(); });
  answerer.join();
  ASSERT_TRUE(ended);

  EXPECT_EQ(question.text, L"Could not extract file!\nevil.txt");
  EXPECT_EQ(question.owner, window);
  expectEnded();
  // No rollback: what came before the failed entry stays, nothing after it was written.
  EXPECT_EQ(payloadtest::readBytes(scratch.path / "app" / "a.txt"), "before");
  EXPECT_FALSE(fs::exists(scratch.path / "app" / "z.txt"));
  // A later request finds the run over.
  endSetupRun(run, true);
}

HANDLE releaseInstallation = nullptr;
constexpr char16_t kDigestKey[] = u"Software\\AverluneEndSetupRunTest";

// Stands in for an installation that is still extracting, its uninstall log open, when the user
// cancels, and fails fatally after that: its later reports and its request to end the run must end
// nothing more, and what it appends later must not reach the log whose digest was kept.
void extractThenFail(const SetupState& state, const InstallationTexts&, const InstallationReports& reports,
                     InstallationTarget& target) {
  const std::u16string app = applicationFolder(state.choices);
  holdApplicationFolder(target.folders, app);
  createUninstallLog(target.log, placeInHeldFolder(target.folders, app + u"uninstall.dat"), "header", kDigestKey);
  reports.setProgressMaximum(4);
  reports.setStatus(u"Installing..");
  WaitForSingleObject(releaseInstallation, 10000);
  appendUninstallLog(target.log, "late record");
  reports.setProgress(2);
  reports.showError(u"Error", u"Setup Error!");
  reports.endRun(true);
}

TEST_F(RunEnd, CancelDuringInstallationEndsTheRunOnceOnTheMainThread) {
  const OwnedHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  releaseInstallation = release.get();
  run.wizard->installationWork = extractThenFail;
  goNext(*run.wizard);
  ASSERT_EQ(run.wizard->currentPage, Page::installing);
  pumpFor(100);

  ShownBox question;
  std::thread answerer([&] {
    question = waitForBox(mainThread);
    pressBoxButton(question.handle, IDOK);
  });
  pressCancel();
  const bool ended = pumpUntil([] { return !exitThreads.empty(); });
  answerer.join();
  ASSERT_TRUE(ended);
  EXPECT_EQ(question.title, L"Exit Setup");
  EXPECT_EQ(question.text, L"Do you want to abort the installation?");
  expectEnded();

  SetEvent(release.get());  // the installation goes on behind the ended run
  ASSERT_TRUE(pumpUntilEnded(run.wizard->installationThread.get()));
  EXPECT_EQ(payloadtest::readBytes(scratch.path / "app" / "uninstall.dat"), "header");
  EXPECT_EQ(readRegistryValueText(RegistryRoot::localMachine, kDigestKey, kLogDigestValueName).text, sha256Hex("header"));
  deleteKey(RegistryRoot::localMachine, kDigestKey);
}

// Stands in for an installation that is still extracting when the user presses Cancel, and
// finishes as usual once released.
void extractThenFinish(const SetupState&, const InstallationTexts&, const InstallationReports& reports,
                       InstallationTarget&) {
  reports.setProgressMaximum(2);
  reports.setStatus(u"Installing..");
  WaitForSingleObject(releaseInstallation, 10000);
  reports.setProgress(2);
  reports.showFinishPage();
}

TEST_F(RunEnd, CancelThenCancelInTheQuestionLetsTheInstallationFinish) {
  const OwnedHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  releaseInstallation = release.get();
  run.wizard->installationWork = extractThenFinish;
  goNext(*run.wizard);
  ASSERT_EQ(run.wizard->currentPage, Page::installing);

  ShownBox question;
  std::atomic<bool> answered{false};
  std::thread answerer([&] {
    question = waitForBox(mainThread);
    pressBoxButton(question.handle, IDCANCEL);
    answered = true;
  });
  pressCancel();
  pumpUntil([&] { return answered.load(); });
  answerer.join();
  pumpFor(200);
  EXPECT_EQ(question.title, L"Exit Setup");
  EXPECT_TRUE(exitThreads.empty());
  EXPECT_FALSE(run.ended);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(run.wizard->currentPage, Page::installing);

  SetEvent(release.get());
  ASSERT_TRUE(pumpUntil([&] { return run.wizard->currentPage == Page::finish; }));
  EXPECT_TRUE(IsWindowEnabled(run.wizard->controls.nextButton));
  EXPECT_TRUE(IsWindowVisible(run.wizard->controls.nextButton));
  EXPECT_FALSE(IsWindowVisible(run.wizard->controls.cancelButton));
  EXPECT_TRUE(exitThreads.empty());

  // The finish page's close box ends the run, once and without a question.
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(pumpUntil([] { return !exitThreads.empty(); }));
  expectEnded();
}

}  // namespace
}  // namespace averlune
