#pragma once
// Keystrokes for a program under test, delivered where the system delivers the keyboard: to the
// window that has the focus in the program's window thread, through that thread's message loop
// (so the loop's dialog handling of Enter, Esc, Tab and Space sees them as it sees real ones).
#include <windows.h>

#include <string>

namespace averlune::e2e {

// The window that has the keyboard focus in the thread that owns `window`; null when none has.
HWND focusedWindow(HWND window);
// Presses and releases the virtual key `key` (VK_RETURN, VK_SPACE, VK_ESCAPE, VK_TAB) at the
// focus of `window`'s thread. False when that thread has no focus window.
bool pressKey(HWND window, UINT key);
// Types `text` character by character at the focus of `window`'s thread.
bool typeText(HWND window, const std::wstring& text);

}  // namespace averlune::e2e
