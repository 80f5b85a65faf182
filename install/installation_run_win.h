#pragma once
// The installation run on Windows: the wizard's controls, message boxes from the installation
// thread, the real file system, registry and shell links.
#include "install/installation_run.h"
#include "lifecycle/setup_run_win.h"

namespace averlune {

// The installation thread's work, steps 1 to 16. Reads appFolderField, startMenuFolderField,
// desktopIconCheckBox and startMenuCheckBox of run.handles.wizard when the step that needs them
// comes, writes statusLabel and progressBar, shows its message boxes owned by the wizard window,
// and ends with showFinishPage(run); a fatal failure or Abort ends the setup in endSetupRun.
// Call it on the installation thread (it returns when the finish page has been asked for).
void runInstallation(SetupRun& run);

// The language texts the run shows, from the loaded language file.
InstallationTexts installationTexts(const SetupState& state);

// The record runInstallation uses, for tests that replace a few of its parts.
InstallationSystem windowsInstallationSystem(SetupRun& run);

// The uninstaller executable embedded in this program; empty when it carries none.
std::string embeddedUninstallerImage();

}  // namespace averlune
