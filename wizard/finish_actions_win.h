#pragma once
#include "wizard/wizard_win.h"

namespace averlune {

// What Finish on the finish page does; ends the run (work folder removed). The finish plug-in,
// the restart and the program launch chosen by Addition are not carried out yet: Finish hides the
// wizard and ends the run.
void runFinishActions(Wizard& wizard);

}  // namespace averlune
