#include "base/library_failures_win.h"
#include "lifecycle/setup_run_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  averlune::runSetup();
  return 0;  // not reached: the run ends the process
}
