#pragma once
// The state of one setup run, shared by every subsystem of the setup program. Everything starts
// empty, zero or false; the start-up sequence fills it step by step. The Windows handles of the run
// (lock, icon, windows) are held beside it by the layer that made them.
//
// Threads: the main thread fills the state. When the installation starts it copies the user's
// choices in (UserChoices); from then on the installation thread only reads the state. Nothing
// changes while the installation runs.
#include <string>
#include <vector>

#include "config/language_texts.h"
#include "config/placeholders.h"
#include "config/setup_script.h"

namespace averlune {

// What the user chose, as the wizard's controls show it when the installation starts. The
// installation run, the finish actions and the uninstall registration read it from here.
struct UserChoices {
  std::u16string appFolderText;        // the application folder field as typed, "\" not added yet
  std::u16string startMenuFolderText;  // the start menu folder field as typed
  bool desktopIcon = false;            // the desktop icon check box
  bool startMenuFolder = false;        // the start menu folder check box
  std::u16string languageName;         // the language picked in the language dialog; empty with one language
};

// The application folder the user chose, ending in "\": the only place the "\" is added, so the
// installation and the program started at the end name the same folder.
std::u16string applicationFolder(const UserChoices& choices);

struct SetupState {
  std::u16string ownFile;      // the setup program's own file, which carries the payload container
  std::u16string workFolder;   // the run's private folder in the temporary folder, ends in "\"
  std::u16string cabinetFile;  // workFolder + "Setup.cab"
  bool silent = false;         // started with /S: no wizard, no message box
  std::u16string logFile;      // /LOG=: the administrator's log; empty for none
  bool osAccepted = false;
  std::vector<AuthorVariable> variables;  // Variables.dat, in file order
  SetupOptions options;                   // SC.dat, default folders expanded
  std::u16string languageFile;  // path of the language file in use
  LanguageTexts languageTexts;  // empty until a language file was loaded
  UserChoices choices;
};

}  // namespace averlune
