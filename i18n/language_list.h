#pragma once
// languages.dat: the languages a setup offers in its language dialog, one name a line, in the
// order the dialog lists them. A name also names its language file.
#include <string>
#include <vector>

namespace averlune {

// The lines of work folder + "languages.dat", in file order and unchanged: nothing trimmed, an
// empty line kept as an empty name. False when the file cannot be opened; `names` is then empty.
bool readLanguageList(const std::u16string& workFolder, std::vector<std::u16string>& names);

// The language file of a name from the list, in the work folder: the name exactly as listed, case
// and spaces included, followed by ".avl".
std::u16string languageFilePath(const std::u16string& workFolder, const std::u16string& name);

}  // namespace averlune
