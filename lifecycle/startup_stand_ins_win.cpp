#include "lifecycle/startup_stand_ins_win.h"

#include <windows.h>

#include "config/owned_handle_win.h"
#include "config/wide_text_win.h"
#include "i18n/language_file.h"

namespace averlune {

bool chooseLanguage(SetupState& state) {
  {
    const OwnedHandle languages(CreateFileW(wide(state.workFolder + u"languages.dat"), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!languages) return false;
  }
  // As if the user had confirmed a language whose file is Default.avl; the wizard is then built
  // at step 18 as for a single language. A missing file leaves the texts empty.
  loadLanguageTexts(state.workFolder + u"Default.avl", state.options.Appname, state.languageTexts, state.languageFile);
  return true;
}

}  // namespace averlune
