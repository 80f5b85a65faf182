// The progress window while the removal pass runs on its own thread: the pass only stores how far
// it has come, and the window shows it while the pass runs and where it ended once it is over.
#include "uninstaller/uninstall_window_win.h"

#include <gtest/gtest.h>
#include <commctrl.h>

namespace averlune {
namespace {

int barPosition(HWND bar) { return static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)); }

TEST(UninstallWindow, TheBarFollowsThePassWhileItRunsAndShowsWhereItEnded) {
  UninstallWindow window;
  UninstallWindowContent content;
  content.title = u"Uninstall Tool";
  content.progressMaximum = 10;
  const DWORD mainThread = GetCurrentThreadId();
  DWORD passThread = 0;
  bool shownWhileRunning = false;
  const RemovalOutcome outcome = runRemovalWithWindow(window, content, [&](const auto& progress) {
    passThread = GetCurrentThreadId();
    progress(3);
    // The window's own thread shows it while the pass still runs.
    for (int waited = 0; waited < 5000 && !shownWhileRunning; waited += 10) {
      shownWhileRunning = barPosition(window.progressBar) == 3;
      if (!shownWhileRunning) Sleep(10);
    }
    // The last step comes right before the end, within one period of the window's timer.
    progress(7);
    RemovalOutcome ended;
    ended.recordsPassedOver = 1;
    return ended;
  });
  EXPECT_NE(passThread, mainThread);
  EXPECT_TRUE(shownWhileRunning);
  ASSERT_NE(window.progressBar, nullptr);
  EXPECT_EQ(barPosition(window.progressBar), 7);
  EXPECT_EQ(outcome.recordsPassedOver, 1u);
  EXPECT_TRUE(IsWindowVisible(window.window.get()));
}

}  // namespace
}  // namespace averlune
