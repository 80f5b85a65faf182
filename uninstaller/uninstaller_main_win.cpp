#include <windows.h>

// The uninstaller's entry point. For now the smallest real program: it shows nothing and ends, so
// that the setup has a complete executable to carry and write next to the installed application.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
