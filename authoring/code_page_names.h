#pragma once
// File names in the setup's two archives are read in one of Windows' 8-bit code pages unless they
// are flagged as UTF-8: entry names of the payload archive in the OEM code page, names in the
// configuration cabinet in the ANSI code page by the platform's cabinet iteration. The builder
// stores them in the pages of English-language Windows, 437 and 1252, whose letters also stand at
// the same places on most Western European systems, so that setups built before flagged names
// read the same; only names those pages cannot hold are stored as flagged UTF-8.
#include <optional>
#include <string>

namespace averlune {

// `utf8` re-encoded in code page 437; nothing when it is not valid UTF-8 or holds a character that
// the page lacks. ASCII text comes back unchanged.
std::optional<std::string> toOemName(const std::string& utf8);

// `utf8` re-encoded in code page 1252; nothing when it is not valid UTF-8 or holds a character that
// the page lacks. ASCII text comes back unchanged.
std::optional<std::string> toAnsiName(const std::string& utf8);

// A payload entry's name as the archive stores it.
struct StoredEntryName {
  std::string bytes;
  bool utf8 = false;  // UTF-8 bytes, announced by the entry's language encoding flag
};

// `utf8` in code page 437 when the page holds it, otherwise as UTF-8; nothing when `utf8` is not
// valid UTF-8.
std::optional<StoredEntryName> storedEntryName(const std::string& utf8);

}  // namespace averlune
