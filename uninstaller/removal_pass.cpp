#include "uninstaller/removal_pass.h"

#include <algorithm>

#include "base/path_text.h"
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

bool isIncomplete(const RemovalOutcome& outcome) {
  return !outcome.itemsLeft.empty() || outcome.recordsPassedOver != 0;
}

RemovalOutcome removeInstalledItems(LineListFile& log, const RemovalScope& scope, const RemovalSystem& system,
                                    const std::function<void(std::uint32_t removed)>& progress) {
  // File and folder records reached or not vouched for, in log order.
  struct Reached {
    std::u16string path;
    RecordPlace place;
    bool folder = false;
  };
  std::vector<Reached> left;
  struct FolderReached {
    std::u16string path;
    RecordPlace place;
    LongNameCheck check;
  };
  std::vector<FolderReached> foldersReached;
  std::vector<std::u16string> reached;  // file and folder paths there and carried out, in log order
  std::vector<std::u16string> registryLeft;
  std::vector<std::u16string> registryRemoved;
  std::size_t passedOver = 0;
  std::uint32_t counter = 0;
  const bool vouched = scope.trust != LogTrust::ownFolderOnly;
  UninstallRecord record;
  while (readUninstallRecord(log, record)) {
    const RegistryRoot root = registryRootFromName(record.rootName, RegistryRoot::currentUser);
    switch (record.kind) {
      case UninstallRecordKind::file:
      case UninstallRecordKind::folder: {
        const bool folder = record.kind == UninstallRecordKind::folder;
        const RecordPlace place = placeOfRecordPath(record.path, folder, scope);
        if (!place.allowed) {
          ++passedOver;
        } else if (!place.inAppFolder && !vouched) {
          left.push_back({record.path, place, folder});  // the setup's place for it, but nothing vouches that it made it
        } else {
          // Outside the application folder the names are what the rules judge, so they are judged
          // again as the system names the parts.
          LongNameCheck check;
          if (!place.inAppFolder) {
            check = [&scope, folder](const RecordPlace& longPlace) {
              return placeOfRecordPath(pathOfPlace(longPlace, folder), folder, scope).allowed;
            };
          }
          // Asked first so that a file already gone is never reported as removed.
          const bool wasThere = system.exists(record.path);
          if (folder ? system.removeFolder(place, check) : system.removeFile(place, check)) {
            if (folder) foldersReached.push_back({record.path, place, check});
            left.push_back({record.path, place, folder});
            if (wasThere) reached.push_back(record.path);
          } else if (system.exists(record.path)) {
            ++passedOver;  // a link on the way, or a long name the rules refuse
          }
        }
        if (progress) progress(++counter);
        break;
      }
      case UninstallRecordKind::key:
        if (vouched && isRemovableUninstallKey(record.rootName, record.path, scope.entryName)) {
          (system.deleteKey(root, record.path) ? registryRemoved : registryLeft).push_back(keyText(record));
          system.pruneEmptyKeys(root, record.path);
        } else {
          ++passedOver;
        }
        break;
      case UninstallRecordKind::value:
        if (scope.trust == LogTrust::digestMatched) {
          (system.deleteValue(root, record.path, record.valueName) ? registryRemoved : registryLeft)
              .push_back(valueText(record));
          system.pruneEmptyKeys(root, record.path);
        } else {
          registryLeft.push_back(valueText(record));
        }
        break;
    }
  }
  for (auto folder = foldersReached.rbegin(); folder != foldersReached.rend(); ++folder) {
    if (system.exists(folder->path)) system.removeFolder(folder->place, folder->check);
  }

  std::vector<const Reached*> stayed;  // each path once
  for (const Reached& item : left) {
    if (system.exists(item.path) &&
        std::none_of(stayed.begin(), stayed.end(), [&](const Reached* other) { return other->path == item.path; })) {
      stayed.push_back(&item);
    }
  }
  RemovalOutcome outcome;
  std::vector<bool> waiting(stayed.size(), false);
  const auto queue = [&](std::size_t index) {
    const Reached& item = *stayed[index];
    if (!item.place.inAppFolder || !system.deleteAtRestart(item.place, item.folder, outcome.deletedAtRestart)) return;
    waiting[index] = true;
    outcome.deletedAtRestart.push_back(item.path);
  };
  if (system.deleteAtRestart) {
    // The files first; then the folders, the last recorded first, each finding what it holds queued.
    for (std::size_t index = 0; index < stayed.size(); ++index) {
      if (!stayed[index]->folder) queue(index);
    }
    for (std::size_t index = stayed.size(); index-- > 0;) {
      if (stayed[index]->folder) queue(index);
    }
  }
  for (std::size_t index = 0; index < stayed.size(); ++index) {
    // One that went meanwhile (its holder let it go as it was queued) is not left either.
    if (!waiting[index] && system.exists(stayed[index]->path)) outcome.itemsLeft.push_back(stayed[index]->path);
  }
  for (const std::u16string& path : reached) {
    if (!system.exists(path) && std::find(outcome.removed.begin(), outcome.removed.end(), path) == outcome.removed.end()) {
      outcome.removed.push_back(path);
    }
  }
  outcome.removed.insert(outcome.removed.end(), registryRemoved.begin(), registryRemoved.end());
  outcome.itemsLeft.insert(outcome.itemsLeft.end(), registryLeft.begin(), registryLeft.end());
  outcome.recordsPassedOver = passedOver;
  return outcome;
}

}  // namespace averlune
