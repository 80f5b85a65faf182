#include "lifecycle/silent_installation_win.h"

#include "base/log_file_win.h"
#include "config/setup_script.h"
#include "guards/files_in_use.h"
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
  // Nobody watches: the reports' own defaults show nothing and abort after a failed entry.
  InstallationReports reports;
  reports.showFinishPage = [&finished] { finished = true; };
  // The run stops by itself after asking for its end; the end itself is below.
  reports.endRun = [&removeWorkFolder](bool remove) { removeWorkFolder = remove; };
  if (!state.logFile.empty()) {
    logInstallation(reports, [path = state.logFile](const std::u16string& line) { appendLogLine(path, line); });
  }
  logLine(run, u"installing silently into " + choices.appFolderText);
  InstallationTarget target;
  target.uninstallerImage = uninstallerImage(state.workFolder);
  target.payloadFile = run.ownFile.get();
  target.atRestart.allowed = true;  // nobody to ask about a file in use: the restart replaces it
  runInstallation(state, installationTexts(state.languageTexts), reports, target);
  for (const FileAtRestart& file : target.atRestart.queued) {
    logLine(run, fileAtRestartLogLine(u"replaced at the next restart", file));
  }
  run.outcome = !finished                       ? SetupOutcome::failed
                : !target.atRestart.queued.empty() ? SetupOutcome::installedFilesAtRestart
                                                   : SetupOutcome::installed;
  endSetupRun(run, removeWorkFolder);
}

}  // namespace averlune
