#include "wizard/installation_start_win.h"

#include <memory>

#include "config/fixed_texts.h"
#include "base/log_file_win.h"
#include "base/progress_bar_win.h"
#include "install/installation_log.h"
#include "install/installation_run_win.h"
#include "wizard/installation_messages_win.h"

namespace averlune {
namespace {

// Everything the installation thread works with, owned by the thread.
struct InstallationJob {
  const SetupState* state;
  InstallationTexts texts;
  InstallationReports reports;
  std::shared_ptr<InstallationTarget> target;  // shared with the wizard, which closes its log on Cancel
  InstallationWork work;
};

DWORD WINAPI installationThread(void* parameter) {
  const std::unique_ptr<InstallationJob> job(static_cast<InstallationJob*>(parameter));
  job->work(*job->state, job->texts, job->reports, *job->target);
  return 0;
}

void readChoices(const WizardControls& controls, UserChoices& choices) {
  choices.appFolderText = controlText(controls.appFolderField);
  choices.startMenuFolderText = controlText(controls.startMenuFolderField);
  choices.desktopIcon = isChecked(controls.desktopIconCheckBox);
  choices.startMenuFolder = isChecked(controls.startMenuCheckBox);
}

LRESULT sendBox(HWND window, UINT message, const std::u16string& title, const std::u16string& text) {
  const InstallationMessageBox box{&title, &text};
  return SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(&box));
}

}  // namespace

void reportToWindow(InstallationReports& reports, HWND window, const std::shared_ptr<InstallationProgress>& progress) {
  reports.setStatus = [progress](const std::u16string& text) {
    const ProgressHeld hold(*progress);
    progress->status = text;
    progress->statusChanged = true;
  };
  reports.setProgressMaximum = [window](int maximum) {
    SendMessageW(window, kInstallationProgressMaximum, static_cast<WPARAM>(maximum), 0);
  };
  reports.setProgress = [progress](int position) {
    const ProgressHeld hold(*progress);
    progress->position = position;
    progress->positionChanged = true;
  };
  reports.showFinishPage = [window] { SendMessageW(window, kInstallationFinished, 0, 0); };
  reports.showError = [window](const std::u16string& title, const std::u16string& text) {
    sendBox(window, kInstallationError, title, text);
  };
  reports.askAfterFailedExtraction = [window](const std::u16string& title, const std::u16string& text) {
    switch (sendBox(window, kInstallationQuestion, title, text)) {
      case IDRETRY: return ExtractionChoice::retry;
      case IDIGNORE: return ExtractionChoice::ignore;
      default: return ExtractionChoice::abort;  // Abort, or no window left to ask: nothing more is written
    }
  };
  reports.endRun = [window](bool removeWorkFolder) {
    SendMessageW(window, kInstallationEndsRun, removeWorkFolder ? 1 : 0, 0);
  };
}

void startInstallation(Wizard& wizard) {
  if (wizard.installationThread) return;
  readChoices(wizard.controls, wizard.state.choices);
  auto target = std::make_shared<InstallationTarget>();
  target->uninstallerImage = uninstallerImage(wizard.state.workFolder);
  target->payloadFile = wizard.ownFile;
  auto job = std::make_unique<InstallationJob>(InstallationJob{
      &wizard.state, installationTexts(wizard.state.languageTexts), {}, target, wizard.installationWork});
  reportToWindow(job->reports, wizard.window.get(), wizard.installationProgress);
  SetTimer(wizard.window.get(), kInstallationProgressTimer, kProgressShowPeriodMs, nullptr);
  if (!wizard.state.logFile.empty()) {
    logInstallation(job->reports, [path = wizard.state.logFile](const std::u16string& line) { appendLogLine(path, line); });
  }
  wizard.closeUninstallLog = [target] { closeUninstallLog(target->log); };
  wizard.installationThread = OwnedHandle(wizard.startThread(installationThread, job.get()));
  if (wizard.installationThread) {
    job.release();  // the thread owns it now
    return;
  }
  // Nothing was installed, and the installing page would wait for ever with only Cancel: the
  // run's own reports say so (and log it) and end the run.
  job->reports.showError(kErrorTitle, kSetupErrorText);
  job->reports.endRun(true);
}

}  // namespace averlune
