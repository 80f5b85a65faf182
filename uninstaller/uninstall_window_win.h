#pragma once
// The uninstaller's progress window: header band with title, subtitle and picture, the status
// line, the progress bar and a disabled Cancel button, 497 x 362 client pixels, centred. It lives
// on the main thread; the removal pass runs on its own thread, never touches a window: it only
// stores how many records it has passed (the window shows the latest on a timer, as the setup's
// installing page does) and, at its end, posts one message to the window.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/owned_handle_win.h"
#include "uninstaller/uninstall_run.h"

namespace averlune {

struct UninstallWindow {
  OwnedWindow window;
  HWND progressBar = nullptr;
  UninstallWindowContent content;
  OwnedGdiObject headerPicture;
  OwnedGdiObject separatorPicture;
  OwnedGdiObject titleFont;
  OwnedGdiObject subtitleFont;
  OwnedGdiObject whiteBrush;
  std::atomic<std::uint32_t> recordsPassed{0};  // stored by the removal thread, shown by the window
  bool removalEnded = false;
  RemovalOutcome outcome;
};

// Builds and shows the window for `content`, runs `work` on a second thread and keeps the window
// responsive until it has ended; returns its outcome with the window still shown. A close request
// or Cancel asks the exit question, whose OK ends the process at once.
RemovalOutcome runRemovalWithWindow(UninstallWindow& state, const UninstallWindowContent& content,
                                    const RemovalWork& work);

}  // namespace averlune
