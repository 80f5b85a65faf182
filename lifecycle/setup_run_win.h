#pragma once
// One setup run: its state and the Windows things it holds, acquired as the run goes and released
// together by endSetupRun. The run lives in runSetup's frame on the main thread; the windows get
// what they need from it when they are made, never from a process-wide object.
#include <windows.h>

#include <memory>

#include "base/owned_handle_win.h"
#include "config/exit_codes.h"
#include "config/setup_state.h"
#include "i18n/language_dialog_win.h"
#include "lifecycle/setup_switches.h"
#include "wizard/wizard_win.h"

namespace averlune {

struct SetupRun {
  SetupState state;
  // The setup's own file (state.ownFile), opened as the run's first step and read through this
  // handle alone, for the configuration cabinet and the payload: it shares reads only, so the file
  // cannot be renamed or replaced while the wizard waits. Empty when it could not be opened.
  OwnedHandle ownFile;
  OwnedHandle workFolder;  // state.workFolder, held from its making to its removal
  OwnedMutex instanceLock;
  OwnedIcon setupIcon;
  std::unique_ptr<LanguageDialog> languageDialog;  // setups with several languages only; shows setupIcon
  std::unique_ptr<Wizard> wizard;
  bool ended = false;  // endSetupRun has run; main thread only
  // How the run ended; endSetupRun makes it the exit code (setupExitCode: 0 on every path of a run
  // with the wizard).
  SetupOutcome outcome = SetupOutcome::installed;
  // How the process ends. The Windows tests put their own here to watch a run end.
  void(WINAPI* exitProcess)(UINT exitCode) = ExitProcess;
};

// Start-up steps 1 to 19 on a run of its own. Does not return: every path ends the process in
// endSetupRun.
void runSetup();

// Makes the run's wizard (step 17): the record on the run's state, with endSetupRun as its way to
// end the run, and its pictures, icons and fonts. The window is built later (buildWizard).
void prepareWizard(SetupRun& run);

// Ends the run: removes the work folder when asked, releases the instance lock, releases the
// run's windows and resources and ends the process with the run's exit code. Main
// thread only. Only the first call acts: a second request (an Abort that arrives while Cancel's OK
// is being carried out, say) finds the run over and returns at once.
void endSetupRun(SetupRun& run, bool removeWorkFolder);

// A modal error box (title "Error", error icon, OK) owned by the run's foreground window when
// there is one.
void showErrorMessage(const char16_t* text);

// A line of the administrator's log, when the run keeps one.
void logLine(const SetupRun& run, const std::u16string& line);

}  // namespace averlune
