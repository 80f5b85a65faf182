#pragma once
// Window classes and window records as every window of both programs makes them.
#include <windows.h>

namespace averlune {

// The dialog face colour as a class background.
inline HBRUSH dialogFaceBrush() { return reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1); }

// Registers the class `name` of this program with the arrow cursor, `background` (null: the
// window paints all of itself) and `icon` (null: none). True when the class is registered, also
// when an earlier call registered it.
bool registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, HICON icon = nullptr);

// The record a window was created with (CreateWindowExW's last argument), kept in the window from
// WM_NCCREATE until WM_NCDESTROY; null before and after, when the window procedure must leave the
// message to DefWindowProcW. Call it first thing for every message.
template <typename Record>
Record* windowRecord(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* record = reinterpret_cast<Record*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return record;
}

}  // namespace averlune
