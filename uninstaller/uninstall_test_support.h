#pragma once
// A fake machine for the uninstaller's host tests: files, folders and links by path, and every
// registry call recorded, behind a RemovalSystem that acts on them as Windows does.
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/text_decoding.h"
#include "config/uninstall_log.h"
#include "uninstaller/removal_pass.h"

namespace averlune::uninstalltest {

// heldFile: a file another program holds, which stays until the restart deletes it.
enum class Entry { file, readOnlyFile, heldFile, folder, link };

inline const char* rootText(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::classesRoot: return "HKCR";
    case RegistryRoot::currentUser: return "HKCU";
    case RegistryRoot::localMachine: return "HKLM";
    case RegistryRoot::users: return "HKU";
    case RegistryRoot::currentConfig: return "HKCC";
    default: return "other";
  }
}

struct FakeMachine {
  std::map<std::u16string, Entry> entries;  // folders end in "\", links do not
  std::vector<std::string> registryCalls;   // "deleteKey HKLM Software\X", in call order
  std::vector<std::string> registryStuck;   // calls, spelled as recorded, whose value or key stays
  std::vector<std::u16string> removeCalls;  // paths handed to removeFile and removeFolder
  std::vector<std::u16string> restartQueue;  // long paths queued for deletion at the restart, in order
  // Short names: a path spelled with a short last part (a folder's without "\") and the long name
  // that part stands for. Entries are kept under their long paths.
  std::map<std::u16string, std::u16string> shortNames;

  void add(const std::u16string& path, Entry entry) { entries[path] = entry; }
  bool has(const std::u16string& path) const { return entries.count(path) != 0; }

  // `path` with its short parts spelled long.
  std::u16string longPath(std::u16string path) const {
    for (const auto& [alias, longName] : shortNames) {
      if (path.compare(0, alias.size(), alias) != 0 || (path.size() > alias.size() && path[alias.size()] != u'\\')) {
        continue;
      }
      path = alias.substr(0, alias.find_last_of(u'\\') + 1) + longName + path.substr(alias.size());
    }
    return path;
  }

  // Entries directly inside `folder` (ending in "\").
  std::vector<std::u16string> childrenOf(const std::u16string& folder) const {
    std::vector<std::u16string> children;
    for (const auto& [path, entry] : entries) {
      if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) continue;
      const std::u16string rest = path.substr(folder.size());
      const std::size_t separator = rest.find(u'\\');
      if (separator == std::u16string::npos || separator + 1 == rest.size()) children.push_back(path);
    }
    return children;
  }

  static std::u16string asFolder(const std::u16string& path) {
    return !path.empty() && path.back() == u'\\' ? path : path + u'\\';
  }
  static std::u16string asLink(const std::u16string& path) {
    return !path.empty() && path.back() == u'\\' ? path.substr(0, path.size() - 1) : path;
  }

  RemovalSystem system() {
    RemovalSystem s;
    s.exists = [this](const std::u16string& shortOrLong) {
      const std::u16string path = longPath(shortOrLong);
      return has(path) || has(asLink(path)) || has(asFolder(path));
    };
    // The item's long path when every folder on the way is there, none is a link, and the check (if
    // any) accepts the place as named by long names.
    auto reach = [this](const RecordPlace& place, const LongNameCheck& check) -> std::optional<std::u16string> {
      RecordPlace longPlace = place;
      std::u16string path = place.root;
      for (std::size_t i = 0; i < place.parts.size(); ++i) {
        const auto alias = shortNames.find(path + place.parts[i]);
        if (alias != shortNames.end()) longPlace.parts[i] = alias->second;
        if (i + 1 == place.parts.size()) break;
        path += longPlace.parts[i];
        const auto found = entries.find(path);
        if (found != entries.end() && found->second == Entry::link) return std::nullopt;
        path += u'\\';
        if (!has(path)) return std::nullopt;
      }
      if (check && !check(longPlace)) return std::nullopt;
      return path + longPlace.parts.back();
    };
    s.removeFile = [this, reach](const RecordPlace& place, const LongNameCheck& check) {
      const auto path = reach(place, check);
      if (!path) return false;
      removeCalls.push_back(*path);
      auto found = entries.find(*path);
      if (found != entries.end() && (found->second == Entry::file || found->second == Entry::link)) entries.erase(found);
      return true;
    };
    s.removeFolder = [this, reach](const RecordPlace& place, const LongNameCheck& check) {
      const auto path = reach(place, check);
      if (!path) return false;
      const std::u16string folder = asFolder(*path);
      removeCalls.push_back(folder);
      auto link = entries.find(asLink(folder));
      if (link != entries.end() && link->second == Entry::link) {
        entries.erase(link);
        return true;
      }
      for (const std::u16string& child : childrenOf(folder)) {
        if (entries[child] == Entry::file || entries[child] == Entry::link) entries.erase(child);
      }
      if (has(folder) && childrenOf(folder).empty()) entries.erase(folder);
      return true;
    };
    // A held file, or a folder all of whose entries are queued, as Windows would queue them.
    s.deleteAtRestart = [this, reach](const RecordPlace& place, bool folder, const std::vector<std::u16string>& queued) {
      const auto path = reach(place, nullptr);
      if (!path) return false;
      const auto isQueued = [&](const std::u16string& child) {
        return std::find(queued.begin(), queued.end(), child) != queued.end() ||
               std::find(queued.begin(), queued.end(), asFolder(child)) != queued.end();
      };
      const auto found = entries.find(folder ? asFolder(*path) : *path);
      if (found == entries.end() || found->second != (folder ? Entry::folder : Entry::heldFile)) return false;
      if (folder) {
        const std::vector<std::u16string> children = childrenOf(found->first);
        if (!std::all_of(children.begin(), children.end(), isQueued)) return false;
      }
      restartQueue.push_back(found->first);
      return true;
    };
    // Whether the value or key is gone afterwards.
    auto record = [this](const char* call, RegistryRoot root, const std::u16string& subKey, const std::u16string& name) {
      std::string text = std::string(call) + " " + rootText(root) + " " + encodeUtf8(subKey);
      if (!name.empty()) text += " " + encodeUtf8(name);
      registryCalls.push_back(text);
      return std::find(registryStuck.begin(), registryStuck.end(), text) == registryStuck.end();
    };
    s.deleteValue = [record](RegistryRoot root, const std::u16string& subKey, const std::u16string& name) {
      return record("deleteValue", root, subKey, name);
    };
    s.deleteKey = [record](RegistryRoot root, const std::u16string& subKey) {
      return record("deleteKey", root, subKey, u"");
    };
    s.pruneEmptyKeys = [record](RegistryRoot root, const std::u16string& subKey) {
      record("prune", root, subKey, u"");
    };
    return s;
  }
};

}  // namespace averlune::uninstalltest
