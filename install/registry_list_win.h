#pragma once
// Writing the registry list's entries with the registry library.
#include "install/registry_list.h"

namespace averlune {

// Writes each entry: createKey, then the value by its kind (a REG_DWORD takes the low 32 bits of
// parseNumber). Failures are silent.
void writeRegistryEntry(const RegistryListEntry& entry);

}  // namespace averlune
