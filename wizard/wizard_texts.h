#pragma once
// What the wizard's controls show when the window is built: the texts of the language file with
// the build-time replacements of "<appname>" and "<appversion>", the option-made texts of the
// application folder page and the finish check box, and the starting states of the check boxes.
#include <string>

#include "config/language_texts.h"
#include "wizard/wizard_layout.h"

namespace averlune {

struct SetupOptions;

// The text of control `id`; the empty text for controls without one (panels, pictures, fields
// the caller fills otherwise are given their starting texts too). `freeSpace` is the free-space
// text of the starting application folder (wizard/free_space.h).
std::u16string wizardControlText(ControlId id, const LanguageTexts& texts, const SetupOptions& options,
                                 const std::u16string& freeSpace);

// "Available free space:" and the free space, as the application folder page shows it.
std::u16string availableSpaceText(const LanguageTexts& texts, const std::u16string& freeSpace);

}  // namespace averlune
