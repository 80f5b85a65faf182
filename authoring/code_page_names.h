#pragma once
// Entry names in the payload archive are read by the setup in the system's OEM code page, without
// looking at the archive's UTF-8 flag. The builder therefore stores names in code page 437, the
// OEM page of English-language Windows, whose letters also stand at the same places in most
// Western European OEM pages.
#include <optional>
#include <string>

namespace averlune {

// `utf8` re-encoded in code page 437; nothing when it is not valid UTF-8 or holds a character that
// the page lacks. ASCII text comes back unchanged.
std::optional<std::string> toOemName(const std::string& utf8);

}  // namespace averlune
