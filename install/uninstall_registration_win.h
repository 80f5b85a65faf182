#pragma once
// Writing the uninstall entry into the registry.
#include "install/uninstall_registration.h"

namespace averlune {

// Writes the entry with the registry library; failures are silent (no right to write under
// HKEY_LOCAL_MACHINE leaves no entry).
void registerUninstaller(const UninstallRegistration& registration);

}  // namespace averlune
