#include "lifecycle/setup_run_win.h"

#include "config/fixed_texts.h"
#include "config/foreground_window_win.h"
#include "lifecycle/work_folder_win.h"
#include "wizard/wizard_window_win.h"

namespace averlune {

void showErrorMessage(const char16_t* text) {
  MessageBoxW(ownForegroundWindow(), reinterpret_cast<const wchar_t*>(text),
              reinterpret_cast<const wchar_t*>(kErrorTitle), MB_OK | MB_ICONERROR);
}

void endSetupRun(SetupRun& run, bool removeWorkFolderToo) {
  if (run.ended) return;
  run.ended = true;
  if (removeWorkFolderToo) removeWorkFolder(run.state.workFolder);
  run.instanceLock.reset();
  if (run.wizard) releaseWizard(*run.wizard);
  if (run.languageDialog) run.languageDialog->window.reset();
  run.setupIcon.reset();
  // A running installation thread ends with the process; the exit code carries no information.
  run.exitProcess(0);
}

}  // namespace averlune
