#include "wizard/keyboard_focus_win.h"

#include "wizard/keyboard_focus.h"

namespace averlune {
namespace {

ControlId pageTarget(const Wizard& wizard) {
  const WizardControls& c = wizard.controls;
  return focusTargetOf(wizard.currentPage, [&c](ControlId id) {
    const HWND control = c[id];
    if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
    return specOf(id).kind != ControlKind::radioButton || isChecked(control);
  });
}

// Gives the focus to the page's target; a field takes it with its text selected, as a dialog's
// field does when tabbed to. False when the page has no target.
bool focusPageTarget(const Wizard& wizard) {
  const ControlId target = pageTarget(wizard);
  if (target == ControlId::none) return false;
  const HWND control = wizard.controls[target];
  SetFocus(control);
  if (specOf(target).kind == ControlKind::editField) SendMessageW(control, EM_SETSEL, 0, -1);
  return true;
}

}  // namespace

void focusCurrentPage(Wizard& wizard) {
  // While a box or dialog of the setup is up, taking the focus would also take the activation
  // from it; coming back to the wizard puts the focus on the page then.
  wizard.focusOnReturn = nullptr;
  if (GetActiveWindow() == wizard.window.get()) focusPageTarget(wizard);
}

bool onWizardActivation(Wizard& wizard, WPARAM wParam) {
  const HWND window = wizard.window.get();
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    wizard.focusOnReturn = focus && IsChild(window, focus) ? focus : nullptr;
    return false;
  }
  const HWND noted = wizard.focusOnReturn;
  wizard.focusOnReturn = nullptr;
  if (noted && IsWindowVisible(noted) && IsWindowEnabled(noted)) {
    SetFocus(noted);
    return true;
  }
  return focusPageTarget(wizard);
}

}  // namespace averlune
