#pragma once
// Start-up steps whose subsystems are still being built. Each does the least that lets a run go
// on and is replaced by the subsystem's own routine as that lands.
#include "config/setup_state.h"

namespace averlune {

// The language dialog of setups with several languages. Stand-in: checks that languages.dat can
// be opened, then goes on as if a language whose file is Default.avl had been confirmed. False
// when languages.dat cannot be opened.
bool chooseLanguage(SetupState& state);

}  // namespace averlune
