#pragma once
// File names in the setup's two archives are read by Windows in one of its 8-bit code pages:
// entry names of the payload archive in the OEM code page (the setup does not look at the ZIP
// UTF-8 flag), names in the configuration cabinet in the ANSI code page by the platform's cabinet
// iteration. The builder stores them in the pages of English-language Windows: 437 and 1252,
// whose letters also stand at the same places on most Western European systems.
#include <optional>
#include <string>

namespace averlune {

// `utf8` re-encoded in code page 437; nothing when it is not valid UTF-8 or holds a character that
// the page lacks. ASCII text comes back unchanged.
std::optional<std::string> toOemName(const std::string& utf8);

// `utf8` re-encoded in code page 1252; nothing when it is not valid UTF-8 or holds a character that
// the page lacks. ASCII text comes back unchanged.
std::optional<std::string> toAnsiName(const std::string& utf8);

}  // namespace averlune
