#pragma once
// Start-up steps whose subsystems are still being built. Each does the least that lets a run go
// on and is replaced by the subsystem's own routine as that lands.
#include <string>

#include "lifecycle/setup_run_win.h"

namespace averlune {

// The splash screen. Stand-in: the run goes on at once.
void showSplashScreen(SetupRun& run);
// The language: Default.avl, or languages.dat for the language dialog. Stand-in: only checks
// that the file can be opened.
bool loadLanguage(SetupRun& run);
// The wizard's pictures, icons and fonts. Stand-in: none are needed yet.
void prepareWizard(SetupRun& run);
// The wizard window. Stand-in: a plain window titled "Setup"; closing it ends the run and
// removes the work folder, as closing the wizard on its finish page does.
void showFirstWindow(SetupRun& run);
// The event loop; never returns (the run ends in endSetupRun).
[[noreturn]] void runEventLoop(SetupRun& run);

}  // namespace averlune
