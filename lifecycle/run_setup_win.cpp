#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "config/fixed_texts.h"
#include "config/setup_placeholders.h"
#include "config/system_lookup_win.h"
#include "config/wide_text_win.h"
#include "i18n/language_file.h"
#include "lifecycle/configuration_cabinet_win.h"
#include "lifecycle/dll_search_win.h"
#include "lifecycle/instance_lock_win.h"
#include "lifecycle/setup_icon_win.h"
#include "lifecycle/setup_run_win.h"
#include "lifecycle/startup_stand_ins_win.h"
#include "lifecycle/windows_version_win.h"
#include "lifecycle/work_folder_win.h"
#include "wizard/wizard_navigation_win.h"
#include "wizard/wizard_window_win.h"

namespace averlune {
namespace {

void initialiseFacilities() {
  restrictDllSearchToSystemFolder();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
}

// The setup's own folder becomes the current folder, so relative paths the author wrote resolve
// next to the setup program.
void enterOwnFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) == buffer.size()) {
    buffer.resize(buffer.size() * 2);
  }
  std::u16string path = fromWide(buffer.data(), length);
  const std::size_t separator = path.find_last_of(u'\\');
  if (separator == std::u16string::npos) return;
  SetCurrentDirectoryW(wide(path.substr(0, separator + 1)));  // failure keeps the inherited folder
}

[[noreturn]] void failStartup(const char16_t* text, bool removeWorkFolderToo) {
  showErrorMessage(text);
  endSetupRun(removeWorkFolderToo);
}

}  // namespace

void runSetup() {
  SetupRun& run = currentRun();
  SetupState& state = run.state;

  // 1-2: facilities; the state and its lists start empty.
  initialiseFacilities();

  // 3: one setup run per Windows logon.
  if (acquireInstanceLock(kInstanceLockName, run.handles.instanceLock)) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(kAlreadyRunningText),
                reinterpret_cast<const wchar_t*>(kAlreadyRunningTitle), MB_OK | MB_ICONINFORMATION);
    endSetupRun(false);
  }
  // 4: the JPEG decoder is linked in; nothing to register.
  // 5
  enterOwnFolder();

  // 6-10: the work folder with the unpacked configuration cabinet and the setup icon.
  if (!makeWorkFolder(state.workFolder)) failStartup(kSetupErrorText, false);
  state.cabinetFile = state.workFolder + u"Setup.cab";
  if (copyCabinet(state.cabinetFile) != CopyCabinetResult::success) failStartup(kSetupErrorText, false);
  if (!extractCabinet(state.cabinetFile, state.workFolder)) failStartup(kCabinetErrorText, false);
  run.handles.setupIcon = loadSetupIcon(state.workFolder);

  // 11
  state.osAccepted = checkWindowsVersion(state.workFolder);
  if (!state.osAccepted) failStartup(kUnsupportedOsText, true);

  // 12-14: author variables before the setup script, then the two default folders.
  const SystemLookup system = windowsSystemLookup();
  state.variables = loadVariables(state.workFolder, system);
  readSetupScript(state.options, state.workFolder, system);
  expandDefaultFolders(state.options, state.variables, system);

  // 15
  showSplashScreen(run);

  // 16
  if (state.options.Languages == 1) {
    if (!loadLanguageTexts(state.workFolder + u"Default.avl", state.options.Appname, state.languageTexts,
                           state.languageFile)) {
      failStartup(kSetupErrorText, true);
    }
  } else if (!chooseLanguage(run)) {
    failStartup(kSetupErrorText, true);
  }

  // 17
  state.currentPage = 0;
  applyCheckBoxRules(state.options);
  prepareWizard(run);

  // 18: with several languages the language dialog builds the wizard once a language is
  // confirmed; its stand-in has confirmed one already. A wizard that cannot be built leaves the
  // user no way to end the run, so the run ends here.
  state.currentPage = kLanguageDialogPage;
  if (!buildWizard(run)) failStartup(kSetupErrorText, true);
  showWizard(run);

  // 19
  runWizardLoop(run);
}

}  // namespace averlune
