#pragma once
// The system lookups of the configuration logic, answered by Windows.
#include "base/system_lookup.h"

namespace averlune {

// The record filled with the real system calls.
SystemLookup windowsSystemLookup();

}  // namespace averlune
