#pragma once
// What Finish on the finish page does.
#include "wizard/wizard_win.h"

namespace averlune {

// Carries out the finish steps (wizard/finish_plan.h) in their order: the author's plug-in, then
// the restart or the launch that the finish page's ticked box asks for, then the window hidden,
// then the run ended with its work folder removed. In the setup it does not return; where the run's
// end comes back (tests), the wizard is over and the caller touches nothing of it.
void runFinishActions(Wizard& wizard);

}  // namespace averlune
