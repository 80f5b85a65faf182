#pragma once
// What the configuration logic asks of the system: environment variables, the system folder,
// special folders and registry values. The Windows build fills the record with the real calls
// (base/system_lookup_win.h); host tests fill it with fixed answers. Whoever
// builds a record sets every field that the code it calls uses.
#include <string>

#include "base/registry_text.h"

namespace averlune {

struct SystemLookup {
  // Current value of an environment variable of this process; the empty text when it is not set.
  std::u16string (*environmentVariable)(const std::u16string& name) = nullptr;
  // The Windows system folder exactly as the system gives it (no backslash added); empty on failure.
  std::u16string (*systemFolder)() = nullptr;
  // The folder of a CSIDL exactly as the system gives it (no backslash added); the empty text when
  // the system cannot resolve it.
  std::u16string (*specialFolder)(int csidl) = nullptr;
  // Reads a registry value in its text form (readRegistryValueText). True on success, an existing
  // empty value included; false leaves `text` untouched.
  bool (*readRegistryText)(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                           std::u16string& text) = nullptr;
};

}  // namespace averlune
