#include "tests/e2e/driver/keyboard_driver_win.h"

namespace averlune::e2e {
namespace {

// Lets the program's loop take what was posted before the next key is looked at.
void settle() { Sleep(150); }

}  // namespace

HWND focusedWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool pressKey(HWND window, UINT key) {
  const HWND focus = focusedWindow(window);
  if (!focus) return false;
  const UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | static_cast<LPARAM>(scanCode) << 16;
  const LPARAM up = down | static_cast<LPARAM>(0xC0000000u);  // previous state down, key released
  // The character a key makes comes from the program's own loop translating the key, as for a
  // real one.
  PostMessageW(focus, WM_KEYDOWN, key, down);
  PostMessageW(focus, WM_KEYUP, key, up);
  settle();
  return true;
}

bool typeText(HWND window, const std::wstring& text) {
  const HWND focus = focusedWindow(window);
  if (!focus) return false;
  for (wchar_t c : text) PostMessageW(focus, WM_CHAR, c, 1);
  settle();
  return true;
}

}  // namespace averlune::e2e
