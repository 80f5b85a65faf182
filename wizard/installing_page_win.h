#pragma once
// The installing page's side of the installation thread's messages
// (wizard/installation_messages_win.h), carried out on the main thread.
#include <windows.h>

#include "wizard/wizard_win.h"

namespace averlune {

// True when `message` is one of the installation's messages; `result` is then its answer. The
// message boxes are modal to the wizard window. kInstallationEndsRun ends the run through
// wizard.endRun: nothing of the wizard may be touched after this returns true for it.
bool onInstallationMessage(Wizard& wizard, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace averlune
