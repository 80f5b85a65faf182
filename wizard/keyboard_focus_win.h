#pragma once
// The keyboard focus of the wizard window: always on a visible control of the page shown.
#include "wizard/wizard_win.h"

namespace averlune {

// Puts the focus on the current page's focus target (wizard/keyboard_focus.h). While another
// window of the setup is active (a message box, a folder dialog) the focus is not taken from it:
// the page's target takes the focus when the wizard becomes active again.
void focusCurrentPage(Wizard& wizard);

// The wizard window's activation changes (WM_ACTIVATE): on leaving, the control with the focus is
// noted; on coming back, it gets the focus again when it is still visible and enabled, otherwise
// the current page's target does. True when the message needs no default handling.
bool onWizardActivation(Wizard& wizard, WPARAM wParam);

}  // namespace averlune
