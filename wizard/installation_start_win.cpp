#include "wizard/installation_start_win.h"

#include <windows.h>

#include <commctrl.h>

#include "lifecycle/setup_run_win.h"
#include "wizard/wizard_navigation_win.h"

namespace averlune {
namespace {

DWORD WINAPI installationThread(void* parameter) {
  runInstallationPlaceholder(*static_cast<SetupRun*>(parameter));
  return 0;
}

}  // namespace

void startInstallation(SetupRun& run) {
  if (run.handles.installationThread) return;
  run.handles.installationThread = CreateThread(nullptr, 0, installationThread, &run, 0, nullptr);
}

void runInstallationPlaceholder(SetupRun& run) {
  const HWND progress = run.handles.wizard.progressBar;
  for (int step = 1; step <= 10; ++step) {
    Sleep(150);
    if (progress) PostMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(step), 0);
  }
  showFinishPage(run);
}

}  // namespace averlune
