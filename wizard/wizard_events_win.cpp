#include "wizard/wizard_events_win.h"

#include "base/window_class_win.h"
#include "wizard/installing_page_win.h"
#include "wizard/keyboard_focus_win.h"
#include "wizard/licence_view_win.h"
#include "wizard/wizard_navigation_win.h"
#include "wizard/wizard_pages.h"

namespace averlune {

LRESULT CALLBACK wizardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* wizard = windowRecord<Wizard>(window, message, lParam);
  if (!wizard) return DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  if (onInstallationMessage(*wizard, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_COMMAND: {
      // The loop's dialog handling turns Esc into the command IDCANCEL.
      if (LOWORD(wParam) == IDCANCEL) {
        onEscape(*wizard);
        return 0;
      }
      const int id = LOWORD(wParam) - kControlCommandBase;
      if (id >= 0 && id < static_cast<int>(kControlCount)) {
        applyButtonStates(*wizard);
        if (HIWORD(wParam) == BN_CLICKED) onButton(*wizard, static_cast<ControlId>(id));
      }
      return 0;
    }
    case WM_NOTIFY:
      onLicenceNotify(wizard->controls.licenceView, lParam, wizard->state.logFile);
      break;
    case WM_ACTIVATE:
      if (onWizardActivation(*wizard, wParam)) return 0;
      break;
    case DM_GETDEFID:  // Enter presses Next, the default push button
      return MAKELRESULT(kControlCommandBase + static_cast<int>(ControlId::nextButton), DC_HASDEFID);
    case WM_CLOSE:
      // On the finish page everything is done: closing ends the run without a question.
      if (wizard->currentPage == Page::finish) {
        if (!wizard->finishing) wizard->endRun(true);
      } else {
        confirmExit(*wizard);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void runWizardLoop(Wizard& wizard) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab, Enter and Escape act in the top-level window they reach: the wizard, or before it the
    // language dialog.
    const HWND window = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (window && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  wizard.endRun(true);
}

}  // namespace averlune
