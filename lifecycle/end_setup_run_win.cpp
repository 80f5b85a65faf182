#include "lifecycle/setup_run_win.h"

#include <string>

#include "base/foreground_window_win.h"
#include "base/log_file_win.h"
#include "config/fixed_texts.h"
#include "lifecycle/work_folder_win.h"
#include "wizard/build_wizard_win.h"

namespace averlune {

void showErrorMessage(const char16_t* text) {
  MessageBoxW(ownForegroundWindow(), reinterpret_cast<const wchar_t*>(text),
              reinterpret_cast<const wchar_t*>(kErrorTitle), MB_OK | MB_ICONERROR);
}

void logLine(const SetupRun& run, const std::u16string& line) {
  if (!run.state.logFile.empty()) appendLogLine(run.state.logFile, line);
}

void endSetupRun(SetupRun& run, bool removeWorkFolderToo) {
  if (run.ended) return;
  run.ended = true;
  // Cancel while the installation thread writes: its log is closed and its digest kept before the
  // process ends, so the uninstaller can remove what was installed so far.
  if (run.wizard && run.wizard->closeUninstallLog) run.wizard->closeUninstallLog();
  if (removeWorkFolderToo) removeWorkFolder(run.workFolder, run.state.workFolder);
  run.instanceLock.reset();
  if (run.wizard) releaseWizard(*run.wizard);
  if (run.languageDialog) run.languageDialog->window.reset();
  run.setupIcon.reset();
  const auto code = static_cast<unsigned>(setupExitCode(run.state.silent, run.outcome, run.state.options.Addition));
  const std::string digits = std::to_string(code);
  logLine(run, u"setup ended, exit code " + std::u16string(digits.begin(), digits.end()));
  // A running installation thread ends with the process.
  run.exitProcess(static_cast<UINT>(code));
}

}  // namespace averlune
