#include "install/registry_list_win.h"

#include "base/registry_win.h"

namespace averlune {

// Results are not looked at: a value that cannot be written is simply missing afterwards.
void writeRegistryEntry(const RegistryListEntry& entry) {
  createKey(entry.root, entry.subKey);
  switch (registryWriteKind(valueTypeName(entry.root, entry.subKey, entry.valueName).text)) {
    case RegistryWriteKind::binary:
      writeBinaryValue(entry.root, entry.subKey, entry.valueName, entry.data);
      break;
    case RegistryWriteKind::dword:
      writeDwordValue(entry.root, entry.subKey, entry.valueName, static_cast<std::uint32_t>(parseNumber(entry.data)));
      break;
    case RegistryWriteKind::expandString:
      writeExpandStringValue(entry.root, entry.subKey, entry.valueName, entry.data);
      break;
    case RegistryWriteKind::string:
      writeStringValue(entry.root, entry.subKey, entry.valueName, entry.data);
      break;
  }
}

}  // namespace averlune
