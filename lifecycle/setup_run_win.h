#pragma once
// The one setup run of this process: its state and the Windows handles it holds. Acquired as the
// run goes, released together by endSetupRun.
#include <windows.h>

#include "config/setup_state.h"
#include "wizard/wizard_window_win.h"

namespace averlune {

struct SetupHandles {
  HANDLE instanceLock = nullptr;
  HICON setupIcon = nullptr;
  HWND mainWindow = nullptr;  // the window the event loop serves (wizard or language dialog)
  WizardResources wizardResources;
  WizardControls wizard;
  HANDLE installationThread = nullptr;  // set once, when the installing page is entered
};

struct SetupRun {
  SetupState state;
  SetupHandles handles;
};

// The run of this process. The main thread fills it during start-up; window procedures and the
// installation thread reach it from here.
SetupRun& currentRun();

// Start-up steps 1 to 19. Does not return: every path ends the process in endSetupRun.
[[noreturn]] void runSetup();

// Ends the run: removes the work folder when asked, releases the instance lock, releases the
// run's windows and resources and ends the process with exit code 0, whatever happened.
[[noreturn]] void endSetupRun(bool removeWorkFolder);

// A modal error box (title "Error", error icon, OK) owned by the run's foreground window when
// there is one.
void showErrorMessage(const char16_t* text);

}  // namespace averlune
