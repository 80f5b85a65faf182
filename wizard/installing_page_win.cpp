#include "wizard/installing_page_win.h"

#include <commctrl.h>

#include <utility>

#include "base/progress_bar_win.h"
#include "base/wide_text_win.h"
#include "wizard/installation_messages_win.h"
#include "wizard/wizard_navigation_win.h"

namespace averlune {
namespace {

int showBox(const Wizard& wizard, LPARAM box, UINT type) {
  const auto& shown = *reinterpret_cast<const InstallationMessageBox*>(box);
  return MessageBoxW(wizard.window.get(), wide(*shown.text), wide(*shown.title), type);
}

// Shows the status and position the installation thread last stored, if they changed.
void showLatestProgress(Wizard& wizard) {
  InstallationProgress& progress = *wizard.installationProgress;
  std::u16string status;
  int position = 0;
  bool statusChanged = false;
  bool positionChanged = false;
  {
    const ProgressHeld hold(progress);
    std::swap(statusChanged, progress.statusChanged);
    std::swap(positionChanged, progress.positionChanged);
    if (statusChanged) status = progress.status;
    position = progress.position;
  }
  const WizardControls& c = wizard.controls;
  if (statusChanged && c.statusLabel) SetWindowTextW(c.statusLabel, wide(status));
  if (positionChanged && c.progressBar) setProgressPosition(c.progressBar, position);
}

// Once the thread has ended and its last report is shown, the timer has nothing more to show.
void onProgressTimer(Wizard& wizard) {
  const HANDLE thread = wizard.installationThread.get();
  const bool ended = !thread || WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
  showLatestProgress(wizard);
  if (ended) KillTimer(wizard.window.get(), kInstallationProgressTimer);
}

}  // namespace

bool onInstallationMessage(Wizard& wizard, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const WizardControls& c = wizard.controls;
  result = 0;
  if (message == WM_TIMER && wParam == kInstallationProgressTimer) {
    onProgressTimer(wizard);
    return true;
  }
  if (message < kInstallationProgressMaximum || message > kInstallationEndsRun) return false;
  showLatestProgress(wizard);  // what the run reported before it asks, finishes or ends
  switch (message) {
    case kInstallationProgressMaximum:
      if (c.progressBar) SendMessageW(c.progressBar, PBM_SETRANGE32, 0, static_cast<LPARAM>(wParam));
      return true;
    case kInstallationError:
      showBox(wizard, lParam, MB_OK | MB_ICONERROR);
      return true;
    case kInstallationQuestion:
      result = showBox(wizard, lParam, MB_ABORTRETRYIGNORE | MB_ICONERROR);
      return true;
    case kInstallationFinished:
      showFinishPage(wizard);
      return true;
    case kInstallationEndsRun:
      wizard.endRun(wParam != 0);
      return true;
    default:
      return false;
  }
}

}  // namespace averlune
