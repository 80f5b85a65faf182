#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "base/folder_path_win.h"
#include "base/own_file_win.h"
#include "base/system_lookup_win.h"
#include "base/wide_text_win.h"
#include "config/fixed_texts.h"
#include "config/language_file.h"
#include "config/setup_placeholders.h"
#include "guards/dll_search_win.h"
#include "guards/protected_folders_win.h"
#include "i18n/language_choice.h"
#include "i18n/language_dialog_win.h"
#include "install/earlier_installation_win.h"
#include "lifecycle/configuration_cabinet_win.h"
#include "lifecycle/instance_lock_win.h"
#include "lifecycle/setup_icon_win.h"
#include "lifecycle/setup_run_win.h"
#include "lifecycle/setup_switches.h"
#include "lifecycle/silent_installation_win.h"
#include "lifecycle/splash_screen_win.h"
#include "lifecycle/windows_version_win.h"
#include "lifecycle/work_folder_win.h"
#include "wizard/build_wizard_win.h"
#include "wizard/folder_choice.h"
#include "wizard/wizard_events_win.h"
#include "wizard/wizard_navigation_win.h"
#include "wizard/wizard_resources_win.h"

namespace averlune {
namespace {

void initialiseFacilities() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
}

// The setup's own folder becomes the current folder, so relative paths the author wrote resolve
// next to the setup program.
void enterOwnFolder(const std::u16string& ownFile) {
  const std::size_t separator = ownFile.find_last_of(u'\\');
  if (separator == std::u16string::npos) return;
  SetCurrentDirectoryW(wide(ownFile.substr(0, separator + 1)));  // failure keeps the inherited folder
}

void failStartup(SetupRun& run, const char16_t* text, bool removeWorkFolderToo) {
  logLine(run, std::u16string(u"start-up failure: ") + text);
  run.outcome = SetupOutcome::failed;
  if (!run.state.silent) showErrorMessage(text);
  endSetupRun(run, removeWorkFolderToo);
}

// The language /LANG= names, loaded, in a setup with several: the run then shows no language
// dialog. False when there is none to load: no /LANG=, a name the list does not hold (the log says
// so, and the run goes on as without it), or a listed language whose file cannot be opened.
bool loadCommandLineLanguage(SetupRun& run, const std::u16string& wanted) {
  if (wanted.empty()) return false;
  std::vector<std::u16string> names;
  readLanguageList(run.state.workFolder, names);  // an unreadable list holds no name
  const std::u16string listed = listedLanguage(names, wanted);
  if (listed.empty()) {
    logLine(run, u"/LANG=" + wanted + u" is no language of this setup");
    return false;
  }
  if (confirmLanguage(run.state, listed)) return true;
  logLine(run, u"language file cannot be read: " + languageFilePath(run.state.workFolder, listed));
  return false;
}

// A silent run takes the first language of a setup with several, as the dialog would preselect it.
bool loadFirstLanguage(SetupState& state) {
  std::vector<std::u16string> names;
  return readLanguageList(state.workFolder, names) && !names.empty() && confirmLanguage(state, names.front());
}

// A run that asks nobody for the application folder (silent, or a wizard without its folder page)
// ends before anything is written when the uninstaller would refuse that folder: the installation
// could never be removed. The text is the language's, so the language must be loaded first. False
// when the run has ended.
bool acceptUnaskedAppFolder(SetupRun& run) {
  const SetupState& state = run.state;
  if (!refusesUnaskedAppFolder(state.options.InstallDir, state.silent, state.options.ChangeApplicationFolder,
                               state.options.Uninstaller, protectedFolders, folderIdentity)) {
    return true;
  }
  const std::u16string& text = state.languageTexts.Messages.RefusedFolder;
  logLine(run, u"refused application folder: " + state.options.InstallDir + u": " + text);
  run.outcome = SetupOutcome::failed;
  if (!state.silent) {
    MessageBoxW(nullptr, wide(text), wide(kErrorTitle), MB_OK | MB_ICONWARNING);
  }
  endSetupRun(run, true);
  return false;
}

// The wizard, built and shown once the language texts are known (step 18). A wizard that cannot be
// built leaves the user no way to end the run, so the run ends here; false then.
bool openWizard(SetupRun& run) {
  if (!acceptUnaskedAppFolder(run)) return false;
  if (!buildWizard(*run.wizard)) {
    failStartup(run, kSetupErrorText, true);
    return false;
  }
  showWizard(*run.wizard);
  return true;
}

// The language dialog of a setup with several languages (step 16). Its OK opens the wizard, which
// prepareWizard has made by then; its Cancel ends the run keeping the work folder.
bool openLanguageDialog(SetupRun& run) {
  run.languageDialog = std::make_unique<LanguageDialog>(
      run.state, run.setupIcon.get(), [&run] { openWizard(run); },
      [&run](bool removeWorkFolder) { endSetupRun(run, removeWorkFolder); });
  return showLanguageDialog(*run.languageDialog);
}

// Steps 1 to 19 on `run`; every way out ends the run.
void runSteps(SetupRun& run, const SetupSwitches& switches) {
  SetupState& state = run.state;
  state.silent = switches.silent;
  // Before enterOwnFolder: a relative log path names a file in the folder the setup was started
  // from, and every line of the run goes to that one file; a relative /D= likewise names a folder
  // below it (made full now, it is the path the uninstall log's header and the uninstaller see).
  state.logFile = fullPath(switches.logFile);
  const std::u16string appFolder = fullPath(switches.appFolder);
  logLine(run, state.silent ? u"setup started, silent" : u"setup started");

  // 1-2: facilities; the state and its lists start empty.
  initialiseFacilities();

  // 3: one setup run per Windows logon.
  if (acquireInstanceLock(kInstanceLockName, run.instanceLock) != InstanceLockResult::acquired) {
    logLine(run, u"another setup is running");
    run.outcome = SetupOutcome::anotherSetupRunning;
    if (!state.silent) {
      MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(kAlreadyRunningText),
                  reinterpret_cast<const wchar_t*>(kAlreadyRunningTitle), MB_OK | MB_ICONINFORMATION);
    }
    return endSetupRun(run, false);
  }
  // 4: the JPEG decoder is linked in; nothing to register.
  // 5: state.ownFile was named and opened first of all, in runSetup.
  enterOwnFolder(state.ownFile);

  // 6-10: the work folder with the unpacked configuration cabinet and the setup icon.
  if (!makeWorkFolder(state.workFolder, run.workFolder)) return failStartup(run, kSetupErrorText, false);
  state.cabinetFile = state.workFolder + u"Setup.cab";
  if (copyCabinet(run.ownFile.get(), state.cabinetFile) != CopyCabinetResult::success) {
    return failStartup(run, kSetupErrorText, false);
  }
  if (!extractCabinet(state.cabinetFile, state.workFolder)) return failStartup(run, kCabinetErrorText, false);
  run.setupIcon = loadSetupIcon(state.workFolder);

  // 11
  state.osAccepted = checkWindowsVersion(state.workFolder);
  if (!state.osAccepted) return failStartup(run, kUnsupportedOsText, true);

  // 12-14: author variables before the setup script, then the two default folders.
  const SystemLookup system = windowsSystemLookup();
  state.variables = loadVariables(state.workFolder, system);
  readSetupScript(state.options, state.workFolder, system);
  expandDefaultFolders(state.options, state.variables, system);
  // /D=, else an earlier installation's folders, replace the script's defaults, so the wizard's
  // folder pages show them and a silent run installs there alike.
  const EarlierFolders earlier = earlierFolders(readEarlierEntry(state.options.Appname), state.options.InstallDir,
                                                protectedFolders, folderIdentity);
  if (!earlier.appFolder.empty()) logLine(run, u"earlier installation in " + earlier.appFolder);
  proposeFolders(state.options, appFolder, earlier);

  // 15
  if (state.options.SplashScreen == 1 && !state.silent) showSplashScreen(state.workFolder, state.options.SPS_Time);

  // 16
  if (state.options.Languages == 1) {
    if (!loadLanguageTexts(state.workFolder + u"Default.avl", state.options.Appname, state.languageTexts,
                           state.languageFile)) {
      return failStartup(run, kSetupErrorText, true);
    }
  } else if (loadCommandLineLanguage(run, switches.language)) {
    // chosen on the command line: no dialog, with or without the wizard
  } else if (state.silent) {
    if (!loadFirstLanguage(state)) return failStartup(run, kSetupErrorText, true);
  } else if (!openLanguageDialog(run)) {
    return failStartup(run, kSetupErrorText, true);
  }

  // 17
  applyCheckBoxRules(state.options);
  if (state.silent) {
    if (acceptUnaskedAppFolder(run)) installSilently(run);
    return;
  }
  prepareWizard(run);

  // 18: with several languages the wizard shows no page until the language dialog's OK has loaded
  // a language and opens it.
  if (!run.languageDialog && !openWizard(run)) return;

  // 19
  runWizardLoop(*run.wizard);
}

}  // namespace

void runSetup() {
  // Before anything can load a library: the box of /? below loads some of its own.
  restrictDllSearchToSystemFolder();
  SetupRun run;  // ends with the process, inside endSetupRun
  // Before anything reads the setup's file, and held to the end: see SetupRun::ownFile.
  run.state.ownFile = ownFilePath();
  run.ownFile = openOwnFile(run.state.ownFile);
  const SetupSwitches switches = parseSetupSwitches(reinterpret_cast<const char16_t*>(GetCommandLineW()));
  if (switches.showHelp) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(kSetupSwitchesHelp), L"Setup", MB_OK | MB_ICONINFORMATION);
    ExitProcess(0);
  }
  runSteps(run, switches);
}

void prepareWizard(SetupRun& run) {
  run.wizard = std::make_unique<Wizard>(run.state, [&run](bool removeWorkFolder) { endSetupRun(run, removeWorkFolder); });
  run.wizard->resources = prepareWizardResources(run.state.workFolder);
  run.wizard->ownFile = run.ownFile.get();
}

}  // namespace averlune
