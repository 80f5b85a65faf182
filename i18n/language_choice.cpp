#include "i18n/language_choice.h"

#include "config/line_list_file.h"
#include "config/language_file.h"
#include "base/path_text.h"

namespace averlune {

bool readLanguageList(const std::u16string& workFolder, std::vector<std::u16string>& names) {
  names.clear();
  LineListFile file;
  if (!open(file, workFolder + u"languages.dat")) return false;
  while (!atEnd(file)) names.push_back(readLine(file));
  close(file);
  return true;
}

std::u16string listedLanguage(const std::vector<std::u16string>& names, const std::u16string& wanted) {
  if (wanted.empty()) return {};
  for (const std::u16string& name : names) {
    if (equalsIgnoringAsciiCase(name, wanted)) return name;
  }
  return {};
}

std::u16string languageFilePath(const std::u16string& workFolder, const std::u16string& name) {
  return workFolder + name + u".avl";
}

bool confirmLanguage(SetupState& state, const std::u16string& name) {
  state.choices.languageName = name;
  return loadLanguageTexts(languageFilePath(state.workFolder, name), state.options.Appname, state.languageTexts,
                           state.languageFile);
}

}  // namespace averlune
