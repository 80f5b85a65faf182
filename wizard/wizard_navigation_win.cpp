#include "wizard/wizard_navigation_win.h"

#include "config/wide_text_win.h"
#include "lifecycle/setup_run_win.h"
#include "wizard/finish_actions_win.h"
#include "wizard/installation_start_win.h"
#include "wizard/licence_view_win.h"
#include "wizard/page_flow.h"

namespace averlune {
namespace {

// Posted by showFinishPage from the installation thread.
constexpr UINT kShowFinishPageMessage = WM_APP + 1;

void applyChange(HWND button, ButtonChange change) {
  if (!button || change == ButtonChange::unchanged) return;
  EnableWindow(button, change == ButtonChange::enable);
}

void hideAllPages(const WizardControls& controls) {
  for (ControlId panel : pagePanels()) {
    if (controls[panel]) ShowWindow(controls[panel], SW_HIDE);
  }
}

void showPage(const WizardControls& controls, int page) {
  const ControlId panel = pagePanelOf(page);
  if (panel != ControlId::none && controls[panel]) ShowWindow(controls[panel], SW_SHOW);
}

void switchToFinishPage(SetupRun& run) {
  const WizardControls& c = run.handles.wizard;
  hideAllPages(c);
  showPage(c, kFinishPage);
  ShowWindow(c.backButton, SW_HIDE);
  ShowWindow(c.cancelButton, SW_HIDE);
  SetWindowTextW(c.nextButton, wide(run.state.languageTexts.Gadgets.FinishBtn));
  run.state.currentPage = kFinishPage;
  EnableWindow(c.nextButton, TRUE);
}

void applyStep(SetupRun& run, const PageStep& step) {
  const WizardControls& c = run.handles.wizard;
  hideAllPages(c);
  if (step.showBackButton) ShowWindow(c.backButton, SW_SHOW);
  run.state.currentPage = step.page;
  showPage(c, step.page);
  if (step.hideBackButton) ShowWindow(c.backButton, SW_HIDE);
  if (step.startInstallation) startInstallation(run);
  applyButtonStates(run);
}

void onCommand(SetupRun& run, ControlId id, WORD notification) {
  applyButtonStates(run);
  if (notification != BN_CLICKED) return;
  const int page = run.state.currentPage;
  switch (id) {
    case ControlId::backButton:
      goBack(run);
      break;
    case ControlId::nextButton:
      if (page == kFinishPage) {
        runFinishActions(run);
      } else if (nextButtonActs(page, run.state.options.Licence, isChecked(run.handles.wizard.acceptOption))) {
        goNext(run);
      }
      break;
    case ControlId::cancelButton:
      confirmExit(run);
      break;
    default:
      // The Browse buttons open their folder dialogs with the folder pages' own work; radio
      // buttons, check boxes and fields need nothing beyond the button states above.
      break;
  }
}

}  // namespace

void applyButtonStates(SetupRun& run) {
  const WizardControls& c = run.handles.wizard;
  const ButtonStates states =
      buttonStatesFor(run.state.currentPage, run.state.options.Licence, isChecked(c.acceptOption));
  applyChange(c.nextButton, states.next);
  applyChange(c.backButton, states.back);
}

void goNext(SetupRun& run) {
  const PageStep step = nextStep(run.state.currentPage, pageFlowOptionsOf(run.state.options),
                                 isChecked(run.handles.wizard.startMenuCheckBox));
  if (step.moved) applyStep(run, step);
}

void goBack(SetupRun& run) {
  const PageStep step = backStep(run.state.currentPage, pageFlowOptionsOf(run.state.options));
  if (step.moved) applyStep(run, step);
}

void confirmExit(SetupRun& run) {
  const auto& m = run.state.languageTexts.Messages;
  const int answer = MessageBoxW(run.handles.wizard.window, wide(m.ExitSetup), wide(m.ExitSetupH),
                                 MB_OKCANCEL | MB_ICONQUESTION);
  if (answer == IDOK) endSetupRun(true);
}

void showFinishPage(SetupRun& run) {
  const HWND window = run.handles.wizard.window;
  if (!window) return;
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    switchToFinishPage(run);
  } else {
    PostMessageW(window, kShowFinishPageMessage, 0, 0);
  }
}

void showWizard(SetupRun& run) {
  run.state.currentPage = kWelcomePage;
  ShowWindow(run.handles.wizard.window, SW_SHOW);
  UpdateWindow(run.handles.wizard.window);
  applyButtonStates(run);
}

LRESULT CALLBACK wizardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SetupRun& run = currentRun();
  onWizardNotify(window, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam) - kControlCommandBase;
      if (id >= 0 && id < static_cast<int>(kControlCount)) onCommand(run, static_cast<ControlId>(id), HIWORD(wParam));
      return 0;
    }
    case DM_GETDEFID:  // Enter presses Next, the default push button
      return MAKELRESULT(kControlCommandBase + static_cast<int>(ControlId::nextButton), DC_HASDEFID);
    case WM_CLOSE:
      // On the finish page everything is done: closing ends the run without a question.
      if (run.state.currentPage == kFinishPage) endSetupRun(true);
      confirmExit(run);
      return 0;
    case kShowFinishPageMessage:
      switchToFinishPage(run);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void runWizardLoop(SetupRun& run) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    const HWND window = run.handles.wizard.window;
    if (window && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  endSetupRun(true);
}

}  // namespace averlune
