#include "lifecycle/startup_stand_ins_win.h"

#include "config/wide_text_win.h"
#include "i18n/language_file.h"

namespace averlune {

void showSplashScreen(SetupRun&) {}

bool chooseLanguage(SetupRun& run) {
  HANDLE file = CreateFileW(wide(run.state.workFolder + u"languages.dat"), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  // As if the user had confirmed a language whose file is Default.avl; the wizard is then built
  // at step 18 as for a single language. A missing file leaves the texts empty.
  loadLanguageTexts(run.state.workFolder + u"Default.avl", run.state.options.Appname, run.state.languageTexts,
                    run.state.languageFile);
  return true;
}

}  // namespace averlune
