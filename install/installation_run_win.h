#pragma once
// The installation run's system half on Windows: files, folders, the uninstaller image, the
// uninstall log, the registry, shell links and environment variables. The report half (status,
// progress, message boxes, the finish page, the end of the run) belongs to whoever shows the run
// to the user; the wizard fills it with messages to its window.
#include <string>

#include "config/language_texts.h"
#include "install/installation_run.h"

namespace averlune {

// The record with every system field set and the report fields empty. Safe to use on any thread:
// nothing in it touches a window.
InstallationSystem windowsInstallationSystem();

// The language texts the run shows.
InstallationTexts installationTexts(const LanguageTexts& texts);

// The uninstaller executable embedded in this program; empty when it carries none.
std::string embeddedUninstallerImage();

}  // namespace averlune
