#pragma once
// The installation run on Windows: publish the run's environment variables, read the payload
// archive's directory, make the application folder, gather the facts and plan the installation
// (install/installation_plan.h), then carry the plan out (install/installation_apply_win.h).
#include <string>

#include "config/language_texts.h"
#include "config/setup_state.h"
#include "install/installation_plan.h"
#include "install/installation_reports.h"
#include "install/installation_target_win.h"

namespace averlune {

// Returns after the finish page was shown, or after reports.endRun on a fatal failure or an Abort.
// The log is closed (and its digest kept) before it returns, whichever way.
void runInstallation(const SetupState& state, const InstallationTexts& texts, const InstallationReports& reports,
                     InstallationTarget& target);

// The language texts the run shows.
InstallationTexts installationTexts(const LanguageTexts& texts);

// The uninstaller to write: the signed one of the configuration cabinet when the setup carries one
// (config/uninstaller_image.h; read from `workFolder`, ends in "\\", which only administrators can
// change while the setup runs elevated), else the one embedded in this program; empty when neither
// can be read.
std::string uninstallerImage(const std::u16string& workFolder);

}  // namespace averlune
