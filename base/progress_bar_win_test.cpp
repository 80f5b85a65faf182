#include "base/progress_bar_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/owned_handle_win.h"

namespace averlune {
namespace {

// A run of many small steps on a bar narrower than its range: every position is taken, the bar
// stays visible and drawable, and what it shows is the last position.
TEST(ProgressPosition, EveryStepTakenAndTheBarStaysVisible) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  const OwnedWindow parent(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 500, 40, nullptr,
                                           nullptr, nullptr, nullptr));
  ASSERT_TRUE(parent);
  HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 17, parent.get(), nullptr,
                             nullptr, nullptr);
  ASSERT_TRUE(bar);
  SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
  for (int position = 1; position <= 1000; ++position) {
    setProgressPosition(bar, position);
    ASSERT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), position);
    ASSERT_TRUE(IsWindowVisible(bar)) << position;
  }
  setProgressPosition(bar, 0);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
  EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE);
  RECT dirty{};
  EXPECT_FALSE(GetUpdateRect(bar, &dirty, FALSE));  // drawn, nothing left waiting
}

}  // namespace
}  // namespace averlune
