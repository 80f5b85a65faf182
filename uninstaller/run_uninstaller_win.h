#pragma once

namespace averlune {

// The uninstaller's whole run (uninstall_run.h) with the real system: message boxes, the progress
// window, the removal thread, files and registry. Returns the process's exit code.
int runUninstaller();

}  // namespace averlune
