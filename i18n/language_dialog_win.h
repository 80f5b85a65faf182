#pragma once
// The language dialog of a setup that offers several languages: a small window with the setup
// icon, a prompt, the list of languages.dat and the buttons OK and Cancel, in the user's own
// Windows language. It is served by the setup's one event loop while the current page is -1; its
// only ways out are its two buttons.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/owned_handle_win.h"
#include "i18n/language_dialog_texts.h"
#include "config/setup_state.h"

namespace averlune {

// One language dialog and what it works with. The start-up makes it and hands it to the window
// when the window is created, so its procedure reaches for no process-wide object. Main thread only.
struct LanguageDialog {
  LanguageDialog(SetupState& runState, HICON icon, std::function<void()> openWizardFunction,
                 std::function<void(bool removeWorkFolder)> endRunFunction)
      : state(runState),
        setupIcon(icon),
        openWizard(std::move(openWizardFunction)),
        endRun(std::move(endRunFunction)) {}
  LanguageDialog(const LanguageDialog&) = delete;
  LanguageDialog& operator=(const LanguageDialog&) = delete;

  // OK puts the chosen language name into state.choices and loads its texts into the state.
  SetupState& state;
  HICON setupIcon;  // the run's, shown in the dialog and its title bar; may be null
  // Called once, after OK has loaded a language and the dialog has hidden for good.
  std::function<void()> openWizard;
  // Called when the user confirms the abort question; the work folder stays.
  std::function<void(bool removeWorkFolder)> endRun;

  LanguageDialogTexts texts;
  std::vector<std::u16string> names;  // the list's entries, exactly as languages.dat has them
  OwnedWindow window;  // its controls go with it
  HWND list = nullptr;
};

// Picks the dialog's texts by the user's default Windows language, opens the dialog centred on the
// screen with a client area of 301 x 128, and fills its list from the work folder's languages.dat
// with the first entry selected. False when languages.dat cannot be opened (the dialog is open
// then and ends with the run) or the window cannot be made at all.
bool showLanguageDialog(LanguageDialog& dialog);

}  // namespace averlune
