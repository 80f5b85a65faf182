#pragma once
// The registry list, Registry.dat: records of four lines (root name, sub key, value name, value
// data) each followed directly by 4 bytes, the uninstall flag. The list carries no value type: a
// value is written with the type of the value already there, REG_SZ when there is none.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/line_list_file.h"
#include "base/registry_text.h"

namespace averlune {

struct RegistryListEntry {
  std::u16string rootName;  // as the list spells it; the uninstall log keeps it so
  RegistryRoot root = RegistryRoot::currentUser;
  std::u16string subKey;     // "/" made "\", ending in "\"
  std::u16string valueName;  // may be empty: the key's default value
  std::u16string data;       // the value as text
  std::uint32_t uninstallFlag = 0;  // not 0: the uninstaller deletes the value
};

// Reads an open list to its end. Lines 2 to 4 go through `expand` in that order as they are read.
std::vector<RegistryListEntry> readRegistryList(LineListFile& list,
                                                const std::function<std::u16string(const std::u16string&)>& expand);

// How a value is written, from the type name of the value already there (valueTypeName).
enum class RegistryWriteKind { binary, dword, expandString, string };
RegistryWriteKind registryWriteKind(const std::u16string& existingTypeName);

}  // namespace averlune
