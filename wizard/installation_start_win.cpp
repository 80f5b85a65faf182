#include "wizard/installation_start_win.h"

#include <windows.h>

#include "install/installation_run_win.h"
#include "lifecycle/setup_run_win.h"

namespace averlune {
namespace {

struct ThreadStart {
  SetupRun* run;
  void (*work)(SetupRun&);
};

DWORD WINAPI installationThread(void* parameter) {
  const ThreadStart start = *static_cast<ThreadStart*>(parameter);
  delete static_cast<ThreadStart*>(parameter);
  start.work(*start.run);
  return 0;
}

}  // namespace

void startInstallation(SetupRun& run, void (*work)(SetupRun&)) {
  if (run.handles.installationThread) return;
  auto* start = new ThreadStart{&run, work ? work : runInstallation};
  run.handles.installationThread = CreateThread(nullptr, 0, installationThread, start, 0, nullptr);
  if (!run.handles.installationThread) delete start;
}

}  // namespace averlune
