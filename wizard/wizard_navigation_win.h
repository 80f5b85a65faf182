#pragma once
// The wizard's event handling on the main thread: page changes, button states, the exit
// question, the finish page and the event loop.
#include <windows.h>

namespace averlune {

struct SetupRun;

// Sets Next and Back enabled or disabled as the current page asks (wizard/page_flow.h).
void applyButtonStates(SetupRun& run);
// One step forward or back, with the skip rules; entering the installing page starts the
// installation.
void goNext(SetupRun& run);
void goBack(SetupRun& run);
// Asks the exit question (language texts ExitSetupH / ExitSetup); OK ends the run and removes the
// work folder, Cancel leaves the wizard where it was.
void confirmExit(SetupRun& run);
// Switches the wizard to the finish page: every other panel hidden, Back and Cancel hidden, Next
// captioned FinishBtn and enabled, the current page 7. Callable from any thread: from another
// thread it hands the switch to the main thread and returns at once, so no button state the main
// thread is applying can undo it.
void showFinishPage(SetupRun& run);
// Shows the built wizard window on its welcome page, current page 0.
void showWizard(SetupRun& run);
// The event loop; never returns, the run ends in endSetupRun.
[[noreturn]] void runWizardLoop(SetupRun& run);

// The wizard window's procedure (registered by buildWizard).
LRESULT CALLBACK wizardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace averlune
