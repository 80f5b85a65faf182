#include "wizard/finish_actions_win.h"

namespace averlune {

void runFinishActions(Wizard& wizard) {
  ShowWindow(wizard.window.get(), SW_HIDE);
  wizard.endRun(true);
}

}  // namespace averlune
