#include "lifecycle/silent_installation_win.h"

#include "base/log_file_win.h"
#include "config/setup_script.h"
#include "install/installation_log.h"
#include "install/installation_run_win.h"

namespace averlune {

void installSilently(SetupRun& run) {
  SetupState& state = run.state;
  UserChoices& choices = state.choices;
  choices.appFolderText = state.options.InstallDir;  // /D= when given
  choices.startMenuFolderText = state.options.ShortcutFolder;
  choices.desktopIcon = desktopIconCheckBoxStart(state.options).checked;
  choices.startMenuFolder = startMenuCheckBoxStart(state.options).checked;

  bool finished = false;
  bool removeWorkFolder = true;
  InstallationReports reports;
  reports.setStatus = [](const std::u16string&) {};
  reports.setProgressMaximum = [](int) {};
  reports.setProgress = [](int) {};
  reports.showFinishPage = [&finished] { finished = true; };
  reports.showError = [](const std::u16string&, const std::u16string&) {};
  reports.askAfterFailedExtraction = [](const std::u16string&, const std::u16string&) { return ExtractionChoice::abort; };
  // The run stops by itself after asking for its end; the end itself is below.
  reports.endRun = [&removeWorkFolder](bool remove) { removeWorkFolder = remove; };
  if (!state.logFile.empty()) {
    logInstallation(reports, [path = state.logFile](const std::u16string& line) { appendLogLine(path, line); });
  }
  logLine(run, u"installing silently into " + choices.appFolderText);
  InstallationTarget target;
  target.uninstallerImage = uninstallerImage(state.workFolder);
  target.payloadFile = run.ownFile.get();
  runInstallation(state, installationTexts(state.languageTexts), reports, target);
  run.exitCode = finished ? SetupExitCode::installed : SetupExitCode::cancelledOrAborted;
  endSetupRun(run, removeWorkFolder);
}

}  // namespace averlune
