#include "install/uninstall_registration_win.h"

#include "base/registry_win.h"

namespace averlune {

void registerUninstaller(const UninstallRegistration& registration) {
  createKey(RegistryRoot::localMachine, registration.subKey);  // a failure shows in the writes below
  for (const RegistryStringValue& value : registration.values) {
    writeStringValue(RegistryRoot::localMachine, registration.subKey, value.name, value.data);
  }
  writeDwordValue(RegistryRoot::localMachine, registration.subKey, u"EstimatedSize", registration.estimatedSize);
}

}  // namespace averlune
