#include "base/progress_bar_win.h"

#include <commctrl.h>

namespace averlune {
namespace {

// The width in pixels the bar fills at its current position.
int filledWidth(HWND bar) {
  PBRANGE range{};
  SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  const int position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  RECT client{};
  GetClientRect(bar, &client);
  if (range.iHigh <= range.iLow) return 0;
  return static_cast<int>(static_cast<long long>(position - range.iLow) * (client.right - client.left) /
                          (range.iHigh - range.iLow));
}

}  // namespace

void setProgressPosition(HWND bar, int position) {
  const int before = filledWidth(bar);
  SendMessageW(bar, WM_SETREDRAW, FALSE, 0);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  SendMessageW(bar, WM_SETREDRAW, TRUE, 0);
  if (filledWidth(bar) != before) RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace averlune
