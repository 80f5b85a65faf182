#pragma once
// Special folders of the system with the trailing-backslash choice that the callers need.
#include <string>

#include "base/system_lookup.h"

namespace averlune {

// The folder of `csidl` through `system.specialFolder`; with `addBackslash` it ends in "\". A
// folder the system cannot give (or a record without that lookup) is the empty text either way.
std::u16string specialFolder(const SystemLookup& system, int csidl, bool addBackslash);

}  // namespace averlune
