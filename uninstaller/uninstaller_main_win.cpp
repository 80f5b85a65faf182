#include <windows.h>

#include "base/library_failures_win.h"
#include "uninstaller/run_uninstaller_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return averlune::runUninstaller(); }
