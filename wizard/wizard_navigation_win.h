#pragma once
// The wizard's pages on the main thread: page changes, button states, the exit question and the
// finish page.
#include "wizard/wizard_win.h"

namespace averlune {

// Sets Next and Back enabled or disabled as the current page asks (wizard/page_flow.h).
void applyButtonStates(Wizard& wizard);
// One step forward or back, with the skip rules; entering the installing page starts the
// installation. The focus goes to the page landed on (wizard/keyboard_focus.h).
void goNext(Wizard& wizard);
void goBack(Wizard& wizard);
// What a press of a wizard button does: Back, Next (Finish on the finish page), Cancel and the
// two Browse buttons.
void onButton(Wizard& wizard, ControlId id);
// Esc is a press of Cancel, and does nothing where Cancel is not shown (the finish page).
void onEscape(Wizard& wizard);
// Asks the exit question (language texts ExitSetupH / ExitSetup); OK ends the run and removes the
// work folder, Cancel leaves the wizard where it was.
void confirmExit(Wizard& wizard);
// Switches to the finish page: every other panel hidden, Back and Cancel hidden, Next captioned
// FinishBtn and enabled, the current page 7, the focus on the page. On the main thread, so no
// button state applied for an event of the installing page can undo it.
void showFinishPage(Wizard& wizard);
// Shows the built wizard window on its welcome page, current page 0.
void showWizard(Wizard& wizard);

}  // namespace averlune
