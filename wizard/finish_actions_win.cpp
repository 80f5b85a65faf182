#include "wizard/finish_actions_win.h"

#include "lifecycle/setup_run_win.h"

namespace averlune {

void runFinishActions(SetupRun& run) {
  if (run.handles.wizard.window) ShowWindow(run.handles.wizard.window, SW_HIDE);
  endSetupRun(true);
}

}  // namespace averlune
