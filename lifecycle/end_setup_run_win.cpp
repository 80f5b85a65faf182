#include <windows.h>

#include "config/fixed_texts.h"
#include "config/wide_text_win.h"
#include "lifecycle/instance_lock_win.h"
#include "lifecycle/setup_run_win.h"
#include "lifecycle/work_folder_win.h"
#include "wizard/wizard_window_win.h"

namespace averlune {
namespace {

// The run's own window in front, if any, so an error box stays on top of it and modal to it.
HWND ownForegroundWindow() {
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  if (foreground) GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId() ? foreground : nullptr;
}

}  // namespace

SetupRun& currentRun() {
  static SetupRun run;
  return run;
}

void showErrorMessage(const char16_t* text) {
  MessageBoxW(ownForegroundWindow(), reinterpret_cast<const wchar_t*>(text),
              reinterpret_cast<const wchar_t*>(kErrorTitle), MB_OK | MB_ICONERROR);
}

void endSetupRun(bool removeWorkFolderToo) {
  SetupRun& run = currentRun();
  if (removeWorkFolderToo) removeWorkFolder(run.state.workFolder);
  releaseInstanceLock(run.handles.instanceLock);
  releaseWizard(run);
  if (run.handles.mainWindow) DestroyWindow(run.handles.mainWindow);
  if (run.handles.setupIcon) DestroyIcon(run.handles.setupIcon);
  run.handles = {};
  // A running installation thread ends with the process; the exit code carries no information.
  ExitProcess(0);
}

}  // namespace averlune
