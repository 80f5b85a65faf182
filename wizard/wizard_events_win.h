#pragma once
// The wizard window's procedure and the event loop of the main thread.
#include <windows.h>

#include "wizard/wizard_win.h"

namespace averlune {

// The wizard window's procedure. The window is created with its Wizard as the creation parameter
// (CREATESTRUCT lpCreateParams) and keeps it for its whole life; messages before that are the
// system's alone.
LRESULT CALLBACK wizardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The event loop of every window of the run: the language dialog while it is up, then the wizard.
// In the setup it never returns, the run ends through wizard.endRun.
void runWizardLoop(Wizard& wizard);

}  // namespace averlune
