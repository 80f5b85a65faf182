#include "uninstaller/removal_pass.h"

#include <algorithm>

#include "config/uninstall_log.h"

namespace averlune {
namespace {

bool reachedThroughLink(const RecordPlace& place, const RemovalSystem& system) {
  return std::any_of(place.foldersOnTheWay.begin(), place.foldersOnTheWay.end(), system.isLink);
}

}  // namespace

RemovalOutcome removeInstalledItems(LineListFile& log, const RemovalFolders& folders, const RemovalSystem& system,
                                    const std::function<void(std::uint32_t removed)>& progress) {
  std::vector<std::u16string> carriedOut;  // file and folder paths, in log order
  std::vector<std::u16string> foldersCarriedOut;
  std::uint32_t counter = 0;
  UninstallRecord record;
  while (readUninstallRecord(log, record)) {
    const RegistryRoot root = registryRootFromName(record.rootName, RegistryRoot::currentUser);
    switch (record.kind) {
      case UninstallRecordKind::file:
      case UninstallRecordKind::folder: {
        const RecordPlace place = placeOfRecordPath(record.path, folders);
        if (place.allowed && !reachedThroughLink(place, system)) {
          if (record.kind == UninstallRecordKind::file) {
            system.removeFile(record.path);
          } else {
            system.removeFolder(record.path);
            foldersCarriedOut.push_back(record.path);
          }
          carriedOut.push_back(record.path);
        }
        if (progress) progress(++counter);
        break;
      }
      case UninstallRecordKind::key:
        if (isRemovableUninstallKey(record.path)) {
          system.deleteKey(root, record.path);
          system.pruneEmptyKeys(root, record.path);
        }
        break;
      case UninstallRecordKind::value:
        system.deleteValue(root, record.path, record.valueName);
        system.pruneEmptyKeys(root, record.path);
        break;
    }
  }
  for (auto folder = foldersCarriedOut.rbegin(); folder != foldersCarriedOut.rend(); ++folder) {
    if (system.exists(*folder)) system.removeFolder(*folder);
  }

  RemovalOutcome outcome;
  for (const std::u16string& path : carriedOut) {
    if (system.exists(path) &&
        std::find(outcome.itemsLeft.begin(), outcome.itemsLeft.end(), path) == outcome.itemsLeft.end()) {
      outcome.itemsLeft.push_back(path);
    }
  }
  return outcome;
}

}  // namespace averlune
