#pragma once
// Where the wizard hands over to the installation run.

namespace averlune {

struct SetupRun;

// Starts the installation run on a new thread and keeps its handle in the run's handles. Only the
// first call per run starts anything: the installing page is entered once, and a second Next
// that slips through must not install twice. Returns at once; the window stays responsive.
void startInstallation(SetupRun& run);

// Stands in for the installation run until it exists: shows the installing page's progress for
// a moment, then the finish page (showFinishPage), from the installation thread as the real run
// will.
void runInstallationPlaceholder(SetupRun& run);

}  // namespace averlune
