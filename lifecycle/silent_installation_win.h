#pragma once
// The installation of a silent run (/S): no wizard and no message box. The setup script's options
// and default folders decide, as the wizard would start with them; an extraction failure counts
// as Abort. The finish page's actions (launch, restart, plug-in) are left out: nobody is there to
// choose them, and a deployment tool restarts machines by its own plan.
#include "lifecycle/setup_run_win.h"

namespace averlune {

// Installs on the main thread, sets the run's exit code from the outcome and ends the run.
void installSilently(SetupRun& run);

}  // namespace averlune
