#include "wizard/wizard_navigation_win.h"

#include <gtest/gtest.h>

#include <thread>

#include "lifecycle/setup_run_win.h"
#include "wizard/installation_start_win.h"
#include "wizard/page_flow.h"

namespace averlune {
namespace {

void pumpMessages(int milliseconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG message;
  while (static_cast<int>(until - GetTickCount()) > 0) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
}

// A wizard built in this process on the run of this process, released again afterwards.
class WizardWindow : public testing::Test {
 protected:
  void SetUp() override {
    SetupRun& run = currentRun();
    run.state.workFolder = u"C:\\averlune-no-such-folder\\";
    run.state.languageTexts = LanguageTexts{};
    run.state.languageTexts.Gadgets.NextBtn = u"Next >";
    run.state.languageTexts.Gadgets.FinishBtn = u"Finish";
    run.state.options = SetupOptions{};
    prepareWizard(run);
    ASSERT_TRUE(buildWizard(run));
    showWizard(run);
  }
  void TearDown() override {
    SetupRun& run = currentRun();
    if (run.handles.installationThread) {
      WaitForSingleObject(run.handles.installationThread, 10000);
      pumpMessages(100);
      CloseHandle(run.handles.installationThread);
      run.handles.installationThread = nullptr;
    }
    releaseWizard(run);
    run.state.currentPage = 0;
  }
};

TEST_F(WizardWindow, FinishStaysEnabledWhenTheMainThreadAppliesInstallingStatesMeanwhile) {
  SetupRun& run = currentRun();
  const WizardControls& c = run.handles.wizard;
  run.state.currentPage = kInstallingPage;
  applyButtonStates(run);
  ASSERT_FALSE(IsWindowEnabled(c.nextButton));

  std::thread installation([&run] { showFinishPage(run); });
  // The main thread is busy with events that still see the installing page.
  for (int i = 0; i < 200; ++i) applyButtonStates(run);
  installation.join();
  for (int i = 0; i < 200; ++i) applyButtonStates(run);
  pumpMessages(200);
  applyButtonStates(run);

  EXPECT_EQ(run.state.currentPage, kFinishPage);
  EXPECT_TRUE(IsWindowEnabled(c.nextButton));
  wchar_t caption[32] = {};
  GetWindowTextW(c.nextButton, caption, 32);
  EXPECT_STREQ(caption, L"Finish");
  EXPECT_FALSE(IsWindowVisible(c.backButton));
  EXPECT_FALSE(IsWindowVisible(c.cancelButton));
  EXPECT_TRUE(IsWindowVisible(c[ControlId::finishPanel]));
  EXPECT_FALSE(IsWindowVisible(c[ControlId::installingPanel]));
  EXPECT_FALSE(IsWindowVisible(c[ControlId::welcomePanel]));
}

HANDLE releaseInstallation = nullptr;

// Stands in for the installation run: waits until the test lets it finish.
void installUntilReleased(SetupRun& run) {
  WaitForSingleObject(releaseInstallation, 10000);
  showFinishPage(run);
}

TEST_F(WizardWindow, NextToTheInstallingPageStartsOneInstallation) {
  SetupRun& run = currentRun();
  releaseInstallation = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  // The installation that this run starts; the page flow must not start another one.
  startInstallation(run, installUntilReleased);
  const HANDLE thread = run.handles.installationThread;
  ASSERT_NE(thread, nullptr);

  goNext(run);  // every optional page off: straight to the installing page
  EXPECT_EQ(run.state.currentPage, kInstallingPage);
  EXPECT_FALSE(IsWindowEnabled(run.handles.wizard.nextButton));
  goNext(run);  // a second Next that slipped through
  EXPECT_EQ(run.handles.installationThread, thread);
  EXPECT_EQ(run.state.currentPage, kInstallingPage);

  SetEvent(releaseInstallation);
  ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
  pumpMessages(200);
  EXPECT_EQ(run.state.currentPage, kFinishPage);
  EXPECT_TRUE(IsWindowEnabled(run.handles.wizard.nextButton));
  CloseHandle(releaseInstallation);
}

TEST_F(WizardWindow, BackAndNextShowExactlyOnePanel) {
  SetupRun& run = currentRun();
  run.state.options.Licence = 2;
  run.state.options.ChangeApplicationFolder = 1;
  const WizardControls& c = run.handles.wizard;
  auto visiblePanels = [&c] {
    int count = 0;
    for (ControlId panel : pagePanels()) count += IsWindowVisible(c[panel]) ? 1 : 0;
    return count;
  };
  EXPECT_EQ(visiblePanels(), 1);
  goNext(run);
  EXPECT_EQ(run.state.currentPage, kLicencePage);
  EXPECT_TRUE(IsWindowVisible(c.backButton));
  EXPECT_EQ(visiblePanels(), 1);
  goNext(run);
  EXPECT_EQ(run.state.currentPage, kApplicationFolderPage);
  EXPECT_TRUE(IsWindowVisible(c[ControlId::appFolderPanel]));
  goBack(run);
  goBack(run);
  EXPECT_EQ(run.state.currentPage, kWelcomePage);
  EXPECT_FALSE(IsWindowVisible(c.backButton));
  EXPECT_TRUE(IsWindowVisible(c[ControlId::welcomePanel]));
  EXPECT_EQ(visiblePanels(), 1);
}

}  // namespace
}  // namespace averlune
