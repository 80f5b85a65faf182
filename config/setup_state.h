#pragma once
// The state of one setup run, shared by every subsystem of the setup program. Everything starts
// empty, zero or false; the start-up sequence fills it step by step. The Windows handles of the run
// (lock, icon, windows) live beside it in SetupHandles (lifecycle/setup_run_win.h).
#include <atomic>
#include <string>
#include <vector>

#include "config/language_texts.h"
#include "config/placeholders.h"
#include "config/setup_script.h"

namespace averlune {

// Current page values outside the wizard's own pages.
constexpr int kLanguageDialogPage = -1;

struct SetupState {
  std::u16string workFolder;   // the run's private folder in the temporary folder, ends in "\"
  std::u16string cabinetFile;  // workFolder + "Setup.cab"
  bool osAccepted = false;
  std::vector<AuthorVariable> variables;  // Variables.dat, in file order
  SetupOptions options;                   // SC.dat, default folders expanded
  std::u16string languageFile;        // path of the language file in use
  LanguageTexts languageTexts;        // empty until a language file was loaded
  std::u16string chosenLanguageName;  // empty for single-language setups
  // Read by the installation thread and the main thread; written by both.
  std::atomic<int> currentPage{0};
  // Full paths of folders the payload archive created, in creation order, for the uninstall log.
  std::vector<std::u16string> installationList;
};

}  // namespace averlune
