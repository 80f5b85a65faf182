#include "install/registry_list.h"

namespace averlune {

std::vector<RegistryListEntry> readRegistryList(LineListFile& list,
                                                const std::function<std::u16string(const std::u16string&)>& expand) {
  std::vector<RegistryListEntry> entries;
  while (!atEnd(list)) {
    RegistryListEntry entry;
    entry.rootName = readLine(list);
    entry.subKey = expand(readLine(list));
    entry.valueName = expand(readLine(list));
    entry.data = expand(readLine(list));
    entry.uninstallFlag = readUInt32(list);
    entry.root = registryRootFromName(entry.rootName, RegistryRoot::currentUser);
    for (char16_t& c : entry.subKey) {
      if (c == u'/') c = u'\\';
    }
    if (entry.subKey.empty() || entry.subKey.back() != u'\\') entry.subKey += u'\\';
    entries.push_back(std::move(entry));
  }
  return entries;
}

RegistryWriteKind registryWriteKind(const std::u16string& existingTypeName) {
  if (existingTypeName == u"REG_BINARY") return RegistryWriteKind::binary;
  if (existingTypeName == u"REG_DWORD") return RegistryWriteKind::dword;
  if (existingTypeName == u"REG_EXPAND_SZ") return RegistryWriteKind::expandString;
  return RegistryWriteKind::string;  // REG_SZ, REG_MULTI_SZ and no value at all
}

}  // namespace averlune
