#pragma once
// Where the wizard hands over to the installation run.

namespace averlune {

struct SetupRun;

// Starts the installation run (runInstallation, or `work` where a test puts its own) on a new
// thread and keeps the thread's handle in the run's handles. Only the first call per run starts
// anything: the installing page is entered once, and a second Next that slips through must not
// install twice. Returns at once; the window stays responsive.
void startInstallation(SetupRun& run, void (*work)(SetupRun&) = nullptr);

}  // namespace averlune
