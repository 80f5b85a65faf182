#include "lifecycle/silent_installation_win.h"

#include "config/log_file_win.h"
#include "install/installation_log.h"
#include "install/installation_run_win.h"
#include "wizard/wizard_texts.h"

namespace averlune {

void installSilently(SetupRun& run, const std::u16string& appFolder) {
  SetupState& state = run.state;
  UserChoices& choices = state.choices;
  choices.appFolderText = appFolder.empty() ? state.options.InstallDir : appFolder;
  choices.startMenuFolderText = state.options.ShortcutFolder;
  choices.desktopIcon = desktopIconCheckBoxStart(state.options).checked;
  choices.startMenuFolder = startMenuCheckBoxStart(state.options).checked;

  bool finished = false;
  bool removeWorkFolder = true;
  InstallationSystem system = windowsInstallationSystem();
  system.setStatus = [](const std::u16string&) {};
  system.setProgressMaximum = [](int) {};
  system.setProgress = [](int) {};
  system.showFinishPage = [&finished] { finished = true; };
  system.showError = [](const std::u16string&, const std::u16string&) {};
  system.askAfterFailedExtraction = [](const std::u16string&, const std::u16string&) { return ExtractionChoice::abort; };
  // The run stops by itself after asking for its end; the end itself is below.
  system.endRun = [&removeWorkFolder](bool remove) { removeWorkFolder = remove; };
  if (!state.logFile.empty()) {
    logInstallation(system, [path = state.logFile](const std::u16string& line) { appendLogLine(path, line); });
  }
  logLine(run, u"installing silently into " + choices.appFolderText);
  runInstallationSteps(state, installationTexts(state.languageTexts), system);
  run.exitCode = finished ? SetupExitCode::installed : SetupExitCode::cancelledOrAborted;
  endSetupRun(run, removeWorkFolder);
}

}  // namespace averlune
