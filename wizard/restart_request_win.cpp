// Nothing else may live in this file: see requestRestart in restart_win.h.
#include <windows.h>

#include "wizard/restart_win.h"

namespace averlune {

void requestRestart() {
  ExitWindowsEx(EWX_REBOOT, 0);  // a refusal is not reported, by design
}

}  // namespace averlune
