#include "wizard/wizard_navigation_win.h"

#include "base/wide_text_win.h"
#include "wizard/finish_actions_win.h"
#include "wizard/folder_pages_win.h"
#include "wizard/installation_start_win.h"
#include "wizard/keyboard_focus_win.h"
#include "wizard/page_flow.h"

namespace averlune {
namespace {

void applyChange(HWND button, ButtonChange change) {
  if (!button || change == ButtonChange::unchanged) return;
  EnableWindow(button, change == ButtonChange::enable);
}

void hideAllPages(const WizardControls& controls) {
  for (const PageFacts& page : wizardPages()) {
    if (controls[page.panel]) ShowWindow(controls[page.panel], SW_HIDE);
  }
}

void showPage(const WizardControls& controls, Page page) {
  const ControlId panel = factsOf(page).panel;
  if (panel != ControlId::none && controls[panel]) ShowWindow(controls[panel], SW_SHOW);
}

void applyStep(Wizard& wizard, const PageStep& step) {
  const WizardControls& c = wizard.controls;
  hideAllPages(c);
  if (step.showBackButton) ShowWindow(c.backButton, SW_SHOW);
  wizard.currentPage = step.page;
  showPage(c, step.page);
  if (step.hideBackButton) ShowWindow(c.backButton, SW_HIDE);
  if (step.startInstallation) startInstallation(wizard);
  applyButtonStates(wizard);
  focusCurrentPage(wizard);
}

}  // namespace

void applyButtonStates(Wizard& wizard) {
  const WizardControls& c = wizard.controls;
  const ButtonStates states =
      buttonStatesFor(wizard.currentPage, wizard.state.options.Licence, isChecked(c.acceptOption));
  applyChange(c.nextButton, states.next);
  applyChange(c.backButton, states.back);
}

void goNext(Wizard& wizard) {
  const PageStep step = nextStep(wizard.currentPage, pageFlowOptionsOf(wizard.state.options),
                                 isChecked(wizard.controls.startMenuCheckBox));
  if (step.moved) applyStep(wizard, step);
}

void goBack(Wizard& wizard) {
  const PageStep step = backStep(wizard.currentPage, pageFlowOptionsOf(wizard.state.options));
  if (step.moved) applyStep(wizard, step);
}

void onButton(Wizard& wizard, ControlId id) {
  const Page page = wizard.currentPage;
  switch (id) {
    case ControlId::backButton:
      goBack(wizard);
      break;
    case ControlId::nextButton:
      if (page == Page::finish) {
        if (wizard.finishing) break;
        wizard.finishing = true;
        EnableWindow(wizard.controls.nextButton, FALSE);
        runFinishActions(wizard);
      } else if (nextButtonActs(page, wizard.state.options.Licence, isChecked(wizard.controls.acceptOption)) &&
                 (page != Page::applicationFolder || acceptAppFolderField(wizard))) {
        goNext(wizard);
      }
      break;
    case ControlId::cancelButton:
      confirmExit(wizard);
      break;
    case ControlId::appFolderBrowseButton:
      onAppFolderBrowse(wizard);
      break;
    case ControlId::startMenuBrowseButton:
      onStartMenuBrowse(wizard);
      break;
    default:
      // Radio buttons, check boxes and fields need nothing beyond the button states.
      break;
  }
}

void onEscape(Wizard& wizard) {
  const HWND cancel = wizard.controls.cancelButton;
  if (IsWindowVisible(cancel) && IsWindowEnabled(cancel)) confirmExit(wizard);
}

void confirmExit(Wizard& wizard) {
  const auto& m = wizard.state.languageTexts.Messages;
  const int answer =
      MessageBoxW(wizard.window.get(), wide(m.ExitSetup), wide(m.ExitSetupH), MB_OKCANCEL | MB_ICONQUESTION);
  if (answer == IDOK) wizard.endRun(true);
}

void showFinishPage(Wizard& wizard) {
  const WizardControls& c = wizard.controls;
  hideAllPages(c);
  showPage(c, Page::finish);
  ShowWindow(c.backButton, SW_HIDE);
  ShowWindow(c.cancelButton, SW_HIDE);
  SetWindowTextW(c.nextButton, wide(wizard.state.languageTexts.Gadgets.FinishBtn));
  wizard.currentPage = Page::finish;
  EnableWindow(c.nextButton, TRUE);
  focusCurrentPage(wizard);
}

void showWizard(Wizard& wizard) {
  wizard.currentPage = Page::welcome;
  ShowWindow(wizard.window.get(), SW_SHOW);
  UpdateWindow(wizard.window.get());
  applyButtonStates(wizard);
  focusCurrentPage(wizard);
}

}  // namespace averlune
