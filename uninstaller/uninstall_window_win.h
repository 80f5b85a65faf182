#pragma once
// The uninstaller's progress window: header band with title, subtitle and picture, the status
// line, the progress bar and a disabled Cancel button, 497 x 362 client pixels, centred. It lives
// on the main thread; the removal pass runs on its own thread and only moves the progress bar
// (a message to the control) and, at its end, posts one message to the window.
#include <windows.h>

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
  bool removalEnded = false;
  RemovalOutcome outcome;
};

// Builds and shows the window for `content`, runs `work` on a second thread and keeps the window
// responsive until it has ended; returns its outcome with the window still shown. A close request
// or Cancel asks the exit question, whose OK ends the process at once.
RemovalOutcome runRemovalWithWindow(UninstallWindow& state, const UninstallWindowContent& content,
                                    const RemovalWork& work);

}  // namespace averlune
