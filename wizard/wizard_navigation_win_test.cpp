#include "wizard/wizard_navigation_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/wide_text_win.h"
#include "wizard/installation_start_win.h"
#include "wizard/wizard_resources_win.h"
#include "wizard/wizard_pages.h"
#include "wizard/wizard_test_support_win.h"
#include "wizard/build_wizard_win.h"

namespace averlune {
namespace {

using namespace wizardtest;

// A wizard built in this process on a state of its own; the run's end is only counted.
class WizardWindow : public testing::Test {
 protected:
  void SetUp() override {
    state.workFolder = u"C:\\averlune-no-such-folder\\";
    state.languageTexts.Gadgets.NextBtn = u"Next >";
    state.languageTexts.Gadgets.FinishBtn = u"Finish";
    wizard.resources = prepareWizardResources(state.workFolder);
    ASSERT_TRUE(buildWizard(wizard));
    showWizard(wizard);
  }
  void TearDown() override {
    if (wizard.installationThread) {
      EXPECT_TRUE(pumpUntilEnded(wizard.installationThread.get()));
    }
    releaseWizard(wizard);
  }

  SetupState state;
  int runEnds = 0;
  Wizard wizard{state, [this](bool) { ++runEnds; }};
};

TEST_F(WizardWindow, FinishStaysEnabledWhenTheMainThreadAppliesInstallingStatesMeanwhile) {
  const WizardControls& c = wizard.controls;
  wizard.currentPage = Page::installing;
  applyButtonStates(wizard);
  ASSERT_FALSE(IsWindowEnabled(c.nextButton));

  InstallationReports reports;
  reportToWindow(reports, wizard.window.get(), wizard.installationProgress);
  std::atomic<bool> reported{false};
  std::thread installation([&] {
    reports.showFinishPage();
    reported = true;
  });
  // The main thread is busy with events that still see the installing page.
  for (int i = 0; i < 200; ++i) applyButtonStates(wizard);
  EXPECT_TRUE(pumpUntil([&] { return reported.load(); }));
  installation.join();
  for (int i = 0; i < 200; ++i) applyButtonStates(wizard);

  EXPECT_EQ(wizard.currentPage, Page::finish);
  EXPECT_TRUE(IsWindowEnabled(c.nextButton));
  EXPECT_EQ(controlText(c.nextButton), u"Finish");
  EXPECT_FALSE(IsWindowVisible(c.backButton));
  EXPECT_FALSE(IsWindowVisible(c.cancelButton));
  EXPECT_TRUE(IsWindowVisible(c[ControlId::finishPanel]));
  EXPECT_FALSE(IsWindowVisible(c[ControlId::installingPanel]));
  EXPECT_FALSE(IsWindowVisible(c[ControlId::welcomePanel]));
  EXPECT_EQ(runEnds, 0);
}

HANDLE releaseInstallation = nullptr;
UserChoices choicesSeen;

// Stands in for the installation run: notes what the state told it, then waits until the test
// lets it finish.
void installUntilReleased(const SetupState& state, const InstallationTexts&, const InstallationReports& reports,
                          InstallationTarget&) {
  choicesSeen = state.choices;
  WaitForSingleObject(releaseInstallation, 10000);
  reports.showFinishPage();
}

TEST_F(WizardWindow, NextToTheInstallingPageCopiesTheChoicesAndStartsOneInstallation) {
  const OwnedHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  releaseInstallation = release.get();
  wizard.installationWork = installUntilReleased;
  const WizardControls& c = wizard.controls;
  SetWindowTextW(c.appFolderField, L"D:\\Apps\\Tool");
  SetWindowTextW(c.startMenuFolderField, L"Tools\\Tool");
  SendMessageW(c.desktopIconCheckBox, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(c.startMenuCheckBox, BM_SETCHECK, BST_UNCHECKED, 0);
  state.choices.languageName = u"Deutsch";  // the language dialog's, not a control's

  goNext(wizard);  // every optional page off: straight to the installing page
  EXPECT_EQ(wizard.currentPage, Page::installing);
  EXPECT_FALSE(IsWindowEnabled(c.nextButton));
  const HANDLE thread = wizard.installationThread.get();
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(state.choices.appFolderText, u"D:\\Apps\\Tool");
  EXPECT_EQ(state.choices.startMenuFolderText, u"Tools\\Tool");
  EXPECT_TRUE(state.choices.desktopIcon);
  EXPECT_FALSE(state.choices.startMenuFolder);
  EXPECT_EQ(state.choices.languageName, u"Deutsch");

  // Controls changed from now on are not what the run installs.
  SetWindowTextW(c.appFolderField, L"E:\\Elsewhere");
  goNext(wizard);  // a second Next that slipped through
  startInstallation(wizard);
  EXPECT_EQ(wizard.installationThread.get(), thread);
  EXPECT_EQ(wizard.currentPage, Page::installing);
  EXPECT_EQ(state.choices.appFolderText, u"D:\\Apps\\Tool");

  SetEvent(release.get());
  ASSERT_TRUE(pumpUntilEnded(thread));
  EXPECT_EQ(choicesSeen.appFolderText, u"D:\\Apps\\Tool");
  EXPECT_EQ(wizard.currentPage, Page::finish);
  EXPECT_TRUE(IsWindowEnabled(c.nextButton));
}

DWORD reportingThread = 0;
ExtractionChoice answerSeen = ExtractionChoice::ignore;

// Stands in for the installation run: reports as the real one does, asks once, finishes.
void reportAndAsk(const SetupState&, const InstallationTexts&, const InstallationReports& reports, InstallationTarget&) {
  reportingThread = GetCurrentThreadId();
  reports.setProgressMaximum(8);
  reports.setProgress(3);
  reports.setStatus(u"Installing..\nC:\\Tool\\a.txt");
  answerSeen = reports.askAfterFailedExtraction(u"Error", u"Could not extract file!\na.txt");
  reports.showFinishPage();
  reports.setProgress(0);
}

TEST_F(WizardWindow, TheInstallationThreadsReportsAndQuestionsAreCarriedOutOnTheMainThread) {
  wizard.installationWork = reportAndAsk;
  const WizardControls& c = wizard.controls;
  const DWORD mainThread = GetCurrentThreadId();
  ShownBox box;
  int positionAtQuestion = -1;
  int maximumAtQuestion = -1;
  std::u16string statusAtQuestion;
  std::thread answerer([&] {
    box = waitForBox(mainThread);
    positionAtQuestion = static_cast<int>(SendMessageW(c.progressBar, PBM_GETPOS, 0, 0));
    maximumAtQuestion = static_cast<int>(SendMessageW(c.progressBar, PBM_GETRANGE, FALSE, 0));
    statusAtQuestion = controlText(c.statusLabel);
    pressBoxButton(box.handle, IDRETRY);
  });
  goNext(wizard);
  ASSERT_TRUE(pumpUntilEnded(wizard.installationThread.get()));
  answerer.join();

  EXPECT_NE(reportingThread, mainThread);
  // The box was the main thread's, modal to the wizard, with the run's texts; its answer went back.
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(box.owner, wizard.window.get());
  EXPECT_EQ(box.title, L"Error");
  EXPECT_EQ(box.text, L"Could not extract file!\na.txt");
  EXPECT_EQ(answerSeen, ExtractionChoice::retry);
  // The page showed what the run had reported before it asked.
  EXPECT_EQ(positionAtQuestion, 3);
  EXPECT_EQ(maximumAtQuestion, 8);
  EXPECT_EQ(statusAtQuestion, u"Installing..\nC:\\Tool\\a.txt");
  // And what came after, in order: the finish page, then the bar back at 0.
  EXPECT_EQ(wizard.currentPage, Page::finish);
  EXPECT_TRUE(pumpUntil([&] { return SendMessageW(c.progressBar, PBM_GETPOS, 0, 0) == 0; }, 1000));
  EXPECT_EQ(runEnds, 0);
}

TEST_F(WizardWindow, AnInstallationThreadThatCannotStartIsAnErrorThatEndsTheRun) {
  wizard.startThread = [](LPTHREAD_START_ROUTINE, void*) -> HANDLE { return nullptr; };
  const DWORD mainThread = GetCurrentThreadId();
  ShownBox box;
  std::thread answerer([&] {
    box = waitForBox(mainThread);
    pressBoxButton(box.handle, IDOK);
  });
  goNext(wizard);
  answerer.join();
  EXPECT_EQ(box.title, L"Error");
  EXPECT_EQ(box.text, L"Setup Error!");
  EXPECT_EQ(runEnds, 1);
  EXPECT_FALSE(wizard.installationThread);
}

TEST_F(WizardWindow, BackAndNextShowExactlyOnePanel) {
  state.options.Licence = 2;
  state.options.ChangeApplicationFolder = 1;
  const WizardControls& c = wizard.controls;
  auto visiblePanels = [&c] {
    int count = 0;
    for (const PageFacts& page : wizardPages()) count += IsWindowVisible(c[page.panel]) ? 1 : 0;
    return count;
  };
  EXPECT_EQ(visiblePanels(), 1);
  goNext(wizard);
  EXPECT_EQ(wizard.currentPage, Page::licence);
  EXPECT_TRUE(IsWindowVisible(c.backButton));
  EXPECT_EQ(visiblePanels(), 1);
  goNext(wizard);
  EXPECT_EQ(wizard.currentPage, Page::applicationFolder);
  EXPECT_TRUE(IsWindowVisible(c[ControlId::appFolderPanel]));
  goBack(wizard);
  goBack(wizard);
  EXPECT_EQ(wizard.currentPage, Page::welcome);
  EXPECT_FALSE(IsWindowVisible(c.backButton));
  EXPECT_TRUE(IsWindowVisible(c[ControlId::welcomePanel]));
  EXPECT_EQ(visiblePanels(), 1);
}

}  // namespace
}  // namespace averlune
