#pragma once
// Names for files and folders of a program's own in the user's temporary folder.
#include <string>

namespace averlune {

constexpr int kGuidTextLength = 38;  // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"

// The user's temporary folder as the platform reports it, ending in "\", in its long form where
// the platform can give it (it may come in 8.3 form, "C:\Users\ADMINI~1\...", while the programs
// started later see the long form); empty on failure.
std::u16string temporaryFolder();

// A new GUID in its registry form: braces, upper-case hexadecimal digits, hyphens; empty on
// failure.
std::u16string newGuidText();

}  // namespace averlune
