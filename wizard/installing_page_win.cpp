#include "wizard/installing_page_win.h"

#include <commctrl.h>

#include "config/progress_bar_win.h"
#include "config/wide_text_win.h"
#include "wizard/installation_messages_win.h"
#include "wizard/wizard_navigation_win.h"

namespace averlune {
namespace {

int showBox(const Wizard& wizard, LPARAM box, UINT type) {
  const auto& shown = *reinterpret_cast<const InstallationMessageBox*>(box);
  return MessageBoxW(wizard.window.get(), wide(*shown.text), wide(*shown.title), type);
}

}  // namespace

bool onInstallationMessage(Wizard& wizard, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const WizardControls& c = wizard.controls;
  result = 0;
  switch (message) {
    case kInstallationStatus:
      if (c.statusLabel) SetWindowTextW(c.statusLabel, wide(*reinterpret_cast<const std::u16string*>(lParam)));
      return true;
    case kInstallationProgressMaximum:
      if (c.progressBar) SendMessageW(c.progressBar, PBM_SETRANGE32, 0, static_cast<LPARAM>(wParam));
      return true;
    case kInstallationProgress:
      if (c.progressBar) setProgressPosition(c.progressBar, static_cast<int>(wParam));
      return true;
    case kInstallationError:
      showBox(wizard, lParam, MB_OK | MB_ICONERROR);
      return true;
    case kInstallationQuestion:
      result = showBox(wizard, lParam, MB_ABORTRETRYIGNORE | MB_ICONERROR);
      return true;
    case kInstallationFinished:
      showFinishPage(wizard);
      return true;
    case kInstallationEndsRun:
      wizard.endRun(wParam != 0);
      return true;
    default:
      return false;
  }
}

}  // namespace averlune
