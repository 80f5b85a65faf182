#pragma once
// The choice of a language in a setup that offers several: languages.dat lists them, one name a
// line, in the order the language dialog shows them; a name also names its language file.
#include <string>
#include <vector>

#include "config/setup_state.h"

namespace averlune {

// The lines of work folder + "languages.dat", in file order and unchanged: nothing trimmed, an
// empty line kept as an empty name. False when the file cannot be opened; `names` is then empty.
bool readLanguageList(const std::u16string& workFolder, std::vector<std::u16string>& names);

// The name of the list that /LANG= asks for: the listed spelling of `wanted`, letter case aside
// (the listed spelling names the language file); empty when the list holds no such name or
// `wanted` is empty.
std::u16string listedLanguage(const std::vector<std::u16string>& names, const std::u16string& wanted);

// The language file of a name from the list, in the work folder: the name exactly as listed, case
// and spaces included, followed by ".avl".
std::u16string languageFilePath(const std::u16string& workFolder, const std::u16string& name);

// The user confirms `name`: it becomes the chosen language name (later published as AV_LANGUAGE),
// and its language file is loaded into the state's language texts and becomes the language file
// in use (the one the uninstaller gets a copy of). False when that file cannot be opened: the
// texts and the file in use then stay as they were, and the user may pick again.
bool confirmLanguage(SetupState& state, const std::u16string& name);

}  // namespace averlune
