#pragma once
// How the installation thread reports to the wizard window. It never touches a window itself: it
// sends these messages (SendMessageW) and the main thread carries them out in the window's
// procedure. The sender waits until each is done, so texts passed by pointer stay valid and the
// updates reach the screen in the order of the run. A window that is gone answers 0 to all.
#include <windows.h>

#include <string>

namespace averlune {

enum InstallationMessage : UINT {
  kInstallationStatus = WM_APP + 1,    // lParam: const std::u16string*, the status text
  kInstallationProgressMaximum,        // wParam: the progress bar's maximum
  kInstallationProgress,               // wParam: the progress bar's position
  kInstallationError,                  // lParam: const InstallationMessageBox*; an error box with OK
  kInstallationQuestion,               // lParam: const InstallationMessageBox*; Abort, Retry, Ignore;
                                       // answers IDABORT, IDRETRY or IDIGNORE
  kInstallationFinished,               // the run is done: the finish page
  kInstallationEndsRun,                // wParam: 1 to remove the work folder; the setup run ends
};

struct InstallationMessageBox {
  const std::u16string* title;
  const std::u16string* text;
};

}  // namespace averlune
