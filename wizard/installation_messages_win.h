#pragma once
// How the installation thread reports to the wizard window. It never touches a window itself: it
// sends these messages (SendMessageW) and the main thread carries them out in the window's
// procedure. The sender waits until each is done, so texts passed by pointer stay valid and the
// updates reach the screen in the order of the run. A window that is gone answers 0 to all.
//
// The status line and the bar's position are the exception: they change with every entry, and
// waiting for the screen each time made the wizard's installation far slower than the silent one.
// The thread only stores them (InstallationProgress); the window shows the latest on a timer, and
// before anything else the thread asks of it, so a box, the finish page and the run's end find
// the page showing where the run stands.
#include <windows.h>

#include <string>

namespace averlune {

enum InstallationMessage : UINT {
  kInstallationProgressMaximum = WM_APP + 1,  // wParam: the progress bar's maximum
  kInstallationError,     // lParam: const InstallationMessageBox*; an error box with OK
  kInstallationQuestion,  // lParam: const InstallationMessageBox*; Abort, Retry, Ignore;
                          // answers IDABORT, IDRETRY or IDIGNORE
  kInstallationFinished,  // the run is done: the finish page
  kInstallationEndsRun,   // wParam: 1 to remove the work folder; the setup run ends
};

// The status line and the bar's position as the installation thread last set them. A slim
// reader/writer lock rather than std::mutex, whose error reporting would add a sixth to the setup
// program's size.
struct InstallationProgress {
  SRWLOCK lock = SRWLOCK_INIT;
  std::u16string status;
  int position = 0;
  bool statusChanged = false;
  bool positionChanged = false;
};

// Holds the progress's lock while it lives.
class ProgressHeld {
 public:
  explicit ProgressHeld(InstallationProgress& progress) : lock_(progress.lock) { AcquireSRWLockExclusive(&lock_); }
  ~ProgressHeld() { ReleaseSRWLockExclusive(&lock_); }
  ProgressHeld(const ProgressHeld&) = delete;
  ProgressHeld& operator=(const ProgressHeld&) = delete;

 private:
  SRWLOCK& lock_;
};

// The wizard window's timer that shows the latest progress (base/progress_bar_win.h gives its
// period).
constexpr UINT_PTR kInstallationProgressTimer = 1;

struct InstallationMessageBox {
  const std::u16string* title;
  const std::u16string* text;
};

}  // namespace averlune
