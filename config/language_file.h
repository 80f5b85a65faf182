#pragma once
// Reading a language file (Default.avl, or the file of the language the user picked) into the
// run's LanguageTexts.
#include <string>

#include "config/key_value_file.h"
#include "config/language_texts.h"

namespace averlune {

// Reads every text from an open file, group by group, and applies the load-time replacements of
// "<appname>" by `appName`. The file stays open; its selected group changes.
LanguageTexts readLanguageTexts(KeyValueFile& file, const std::u16string& appName);

// Opens the language file at `path` and reads it into `texts`, remembering `path` in
// `languageFile`. False when the file cannot be opened; both outputs are then unchanged.
bool loadLanguageTexts(const std::u16string& path, const std::u16string& appName, LanguageTexts& texts,
                       std::u16string& languageFile);

}  // namespace averlune
