#include "uninstaller/removal_pass.h"

#include <algorithm>

#include "config/path_text.h"
#include "config/uninstall_log.h"

namespace averlune {
namespace {

// How a value record names its value to the user: the root the setup wrote it under, the sub key,
// the value name.
std::u16string valueText(const UninstallRecord& record) {
  const bool knownRoot = registryRootFromName(record.rootName, RegistryRoot::none) != RegistryRoot::none;
  return (knownRoot ? record.rootName : std::u16string(u"HKEY_CURRENT_USER")) + kBackslash +
         addBackslash(withoutLeadingBackslash(record.path)) + record.valueName;
}

// A key record's key, named as valueText names a value's key: root\sub key.
std::u16string keyText(const UninstallRecord& record) {
  std::u16string subKey = withoutLeadingBackslash(record.path);
  if (!subKey.empty() && subKey.back() == kBackslash) subKey.pop_back();
  return record.rootName + kBackslash + subKey;
}

}  // namespace

RemovalOutcome removeInstalledItems(LineListFile& log, const RemovalScope& scope, const RemovalSystem& system,
                                    const std::function<void(std::uint32_t removed)>& progress) {
  std::vector<std::u16string> reached;  // file and folder paths, in log order
  std::vector<std::pair<std::u16string, RecordPlace>> foldersReached;
  std::vector<std::u16string> registryLeft;
  std::uint32_t counter = 0;
  UninstallRecord record;
  while (readUninstallRecord(log, record)) {
    const RegistryRoot root = registryRootFromName(record.rootName, RegistryRoot::currentUser);
    switch (record.kind) {
      case UninstallRecordKind::file:
      case UninstallRecordKind::folder: {
        const bool folder = record.kind == UninstallRecordKind::folder;
        const RecordPlace place = placeOfRecordPath(record.path, folder, scope);
        if (place.allowed && (folder ? system.removeFolder(place) : system.removeFile(place))) {
          if (folder) foldersReached.emplace_back(record.path, place);
          reached.push_back(record.path);
        }
        if (progress) progress(++counter);
        break;
      }
      case UninstallRecordKind::key:
        if (isRemovableUninstallKey(record.rootName, record.path, scope.appName)) {
          if (!system.deleteKey(root, record.path)) registryLeft.push_back(keyText(record));
          system.pruneEmptyKeys(root, record.path);
        }
        break;
      case UninstallRecordKind::value:
        if (scope.valuesAllowed) {
          if (!system.deleteValue(root, record.path, record.valueName)) registryLeft.push_back(valueText(record));
          system.pruneEmptyKeys(root, record.path);
        } else {
          registryLeft.push_back(valueText(record));
        }
        break;
    }
  }
  for (auto folder = foldersReached.rbegin(); folder != foldersReached.rend(); ++folder) {
    if (system.exists(folder->first)) system.removeFolder(folder->second);
  }

  RemovalOutcome outcome;
  for (const std::u16string& path : reached) {
    if (system.exists(path) &&
        std::find(outcome.itemsLeft.begin(), outcome.itemsLeft.end(), path) == outcome.itemsLeft.end()) {
      outcome.itemsLeft.push_back(path);
    }
  }
  outcome.itemsLeft.insert(outcome.itemsLeft.end(), registryLeft.begin(), registryLeft.end());
  return outcome;
}

}  // namespace averlune
