#pragma once
// The language dialog's own words. No language file is loaded while the dialog is up, so its texts
// are built in: five sets, picked by the user's Windows language.
#include <cstdint>
#include <string>

namespace averlune {

struct LanguageDialogTexts {
  std::u16string title;          // the dialog's title bar
  std::u16string prompt;         // above the list
  std::u16string okCaption;      // the default button
  std::u16string cancelCaption;  // the other button
  std::u16string abortQuestion;  // asked after Cancel
  std::u16string loadFailure;    // shown when the picked language's file cannot be loaded
};

// The set for a Windows language ID (as GetUserDefaultLangID gives it): only its primary language
// (low 10 bits) counts, so every regional variant of a language gets that language's set. Turkish,
// German, French and Spanish have their own sets; every other language gets English.
LanguageDialogTexts chooseDialogTexts(std::uint16_t languageId);

}  // namespace averlune
