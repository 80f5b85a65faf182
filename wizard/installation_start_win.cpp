#include "wizard/installation_start_win.h"

#include <memory>

#include "config/log_file_win.h"
#include "install/installation_log.h"
#include "install/installation_run_win.h"
#include "wizard/installation_messages_win.h"

namespace averlune {
namespace {

// Everything the installation thread works with, owned by the thread.
struct InstallationJob {
  SetupState* state;
  InstallationTexts texts;
  InstallationSystem system;
  InstallationWork work;
};

DWORD WINAPI installationThread(void* parameter) {
  const std::unique_ptr<InstallationJob> job(static_cast<InstallationJob*>(parameter));
  job->work(*job->state, job->texts, job->system);
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

void reportToWindow(InstallationSystem& system, HWND window) {
  system.setStatus = [window](const std::u16string& text) {
    SendMessageW(window, kInstallationStatus, 0, reinterpret_cast<LPARAM>(&text));
  };
  system.setProgressMaximum = [window](int maximum) {
    SendMessageW(window, kInstallationProgressMaximum, static_cast<WPARAM>(maximum), 0);
  };
  system.setProgress = [window](int position) {
    SendMessageW(window, kInstallationProgress, static_cast<WPARAM>(position), 0);
  };
  system.showFinishPage = [window] { SendMessageW(window, kInstallationFinished, 0, 0); };
  system.showError = [window](const std::u16string& title, const std::u16string& text) {
    sendBox(window, kInstallationError, title, text);
  };
  system.askAfterFailedExtraction = [window](const std::u16string& title, const std::u16string& text) {
    switch (sendBox(window, kInstallationQuestion, title, text)) {
      case IDRETRY: return ExtractionChoice::retry;
      case IDIGNORE: return ExtractionChoice::ignore;
      default: return ExtractionChoice::abort;  // Abort, or no window left to ask: nothing more is written
    }
  };
  system.endRun = [window](bool removeWorkFolder) {
    SendMessageW(window, kInstallationEndsRun, removeWorkFolder ? 1 : 0, 0);
  };
}

void startInstallation(Wizard& wizard) {
  if (wizard.installationThread) return;
  readChoices(wizard.controls, wizard.state.choices);
  auto job = std::make_unique<InstallationJob>(InstallationJob{
      &wizard.state, installationTexts(wizard.state.languageTexts), windowsInstallationSystem(),
      wizard.installationWork});
  reportToWindow(job->system, wizard.window.get());
  if (!wizard.state.logFile.empty()) {
    logInstallation(job->system, [path = wizard.state.logFile](const std::u16string& line) { appendLogLine(path, line); });
  }
  wizard.closeUninstallLog = job->system.closeLog;
  wizard.installationThread = OwnedHandle(CreateThread(nullptr, 0, installationThread, job.get(), 0, nullptr));
  if (wizard.installationThread) job.release();  // the thread owns it now
}

}  // namespace averlune
