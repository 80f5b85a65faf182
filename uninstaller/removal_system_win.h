#pragma once
// The removal pass's system calls on Windows: files and folders without ever following a link,
// and the registry library.
#include "uninstaller/removal_pass.h"

namespace averlune {

RemovalSystem windowsRemovalSystem();

}  // namespace averlune
