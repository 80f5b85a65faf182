#pragma once
// The window a modal box or dialog of this process should belong to.
#include <windows.h>

namespace averlune {

// The foreground window when it is one of this process's, otherwise null (no owner): a box owned
// by it stays in front of it and modal to it, and a box never attaches to another program.
HWND ownForegroundWindow();

}  // namespace averlune
