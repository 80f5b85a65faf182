#pragma once
// Where the wizard hands over to the installation run.
#include <windows.h>

#include <memory>

#include "install/installation_reports.h"
#include "wizard/wizard_win.h"

namespace averlune {

// Copies the user's choices from the controls into the state (the language name stays as the
// language dialog set it), then starts wizard.installationWork on a new thread with a target of
// its own and reports that reach the wizard window as messages. Only the first
// call per wizard starts anything: the installing page is entered once, and a second Next that
// slips through must not install twice. Returns at once; the window stays responsive. A thread
// that cannot be started is an error box, then the run's end (the work folder removed).
void startInstallation(Wizard& wizard);

// Fills `reports` with messages sent to `window`, and the status and position with `progress`,
// which the window shows (wizard/installation_messages_win.h). The reports may then be made from
// any thread.
void reportToWindow(InstallationReports& reports, HWND window, const std::shared_ptr<InstallationProgress>& progress);

}  // namespace averlune
