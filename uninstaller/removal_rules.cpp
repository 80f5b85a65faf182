#include "uninstaller/removal_rules.h"

#include <string_view>

#include "config/contained_path.h"
#include "config/path_text.h"
#include "config/uninstall_log.h"

namespace averlune {
namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool isAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// No Windows path holds these. In a log they can only be a quote meant to break out of the batch
// file's quoting, a wildcard meant for a folder search, or a line break.
bool hasForbiddenCharacter(std::u16string_view text) {
  for (char16_t c : text) {
    if (c < 0x20 || c == u'"' || c == u'<' || c == u'>' || c == u'|' || c == u'*' || c == u'?') return true;
  }
  return false;
}

// Length of the root of a full path: 3 for "X:\", through the separator after the share for
// "\\server\share\". 0 for anything else: relative paths, "X:name", device paths ("\\?\", "\\.\")
// and a share without a separator after it.
std::size_t fullPathRootLength(std::u16string_view path) {
  if (path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == u':' && isSeparator(path[2])) return 3;
  if (path.size() < 2 || !isSeparator(path[0]) || !isSeparator(path[1])) return 0;
  std::size_t serverEnd = 2;
  while (serverEnd < path.size() && !isSeparator(path[serverEnd])) ++serverEnd;
  const std::u16string_view server = path.substr(2, serverEnd - 2);
  if (server.empty() || server == u"?" || server == u"." || serverEnd == path.size()) return 0;
  std::size_t shareEnd = serverEnd + 1;
  while (shareEnd < path.size() && !isSeparator(path[shareEnd])) ++shareEnd;
  if (shareEnd == serverEnd + 1 || shareEnd == path.size()) return 0;
  return shareEnd + 1;
}

// The text folders are compared by, as Windows reads a path: "/" as "\", ASCII letters in lower
// case, trailing dots and spaces of each part dropped, "." parts and empty parts dropped, a "\"
// at the end. Empty for a path that is not full or climbs with "..".
std::u16string folderKey(std::u16string_view path) {
  const std::size_t root = fullPathRootLength(path);
  if (root == 0) return {};
  std::u16string key;
  for (std::size_t i = 0; i < root; ++i) key += isSeparator(path[i]) ? kBackslash : asciiLower(path[i]);
  std::size_t start = root;
  while (start < path.size()) {
    std::size_t end = start;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    std::u16string_view part = path.substr(start, end - start);
    const std::size_t kept = part.find_last_not_of(u". ");
    if (kept == std::u16string_view::npos) {
      // Only dots and spaces: "" and "." stay where they are, anything else climbs or is no name.
      if (part.size() > 1) return {};
    } else {
      for (char16_t c : part.substr(0, kept + 1)) key += asciiLower(c);
      key += kBackslash;
    }
    start = end + 1;
  }
  return key;
}

bool startsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// The key of the folder that holds the folder of `key`; empty for a root.
std::u16string parentKey(const std::u16string& key) {
  if (key.size() < 2) return {};
  const std::size_t separator = key.find_last_of(kBackslash, key.size() - 2);
  if (separator == std::u16string::npos || separator + 1 < fullPathRootLength(key)) return {};
  return key.substr(0, separator + 1);
}

// `folder` (with a "\" added) and each folder above it up to its root, innermost first.
std::vector<std::u16string> folderAndAncestors(const std::u16string& folder) {
  std::vector<std::u16string> chain;
  const std::size_t root = fullPathRootLength(folder);
  if (root == 0) return chain;
  std::u16string current = addBackslash(folder);
  chain.push_back(current);
  while (current.size() > root) {
    const std::size_t separator = current.find_last_of(u"\\/", current.size() - 2);
    if (separator == std::u16string::npos || separator + 1 < root) break;
    current.resize(separator + 1);
    chain.push_back(current);
  }
  return chain;
}

bool refusedByText(const std::u16string& appKey, const ProtectedFolder& folder) {
  const std::u16string key = folderKey(folder.path);
  if (key.empty()) return false;
  if (startsWith(key, appKey)) return true;  // the folder itself or one of its ancestors
  switch (folder.guard) {
    case FolderGuard::itself: return false;
    case FolderGuard::inside: return startsWith(appKey, key);
    case FolderGuard::children: return parentKey(appKey) == key;
  }
  return false;
}

bool refusedByIdentity(const std::vector<std::optional<FolderId>>& appChain, const ProtectedFolder& folder,
                       const FolderIdLookup& folderId) {
  const std::vector<std::u16string> chain = folderAndAncestors(folder.path);
  if (chain.empty()) return false;
  if (appChain.front()) {
    for (const std::u16string& above : chain) {
      if (folderId(above) == appChain.front()) return true;
    }
  }
  const std::optional<FolderId> self = folderId(chain.front());
  if (!self) return false;
  switch (folder.guard) {
    case FolderGuard::itself: return false;
    case FolderGuard::inside:
      for (std::size_t i = 1; i < appChain.size(); ++i) {
        if (appChain[i] == self) return true;
      }
      return false;
    case FolderGuard::children: return appChain.size() > 1 && appChain[1] == self;
  }
  return false;
}

}  // namespace

bool isRefusedAppFolder(const std::u16string& appFolder, const std::vector<ProtectedFolder>& protectedFolders,
                        const FolderIdLookup& folderId) {
  if (hasForbiddenCharacter(appFolder)) return true;
  const std::size_t root = fullPathRootLength(appFolder);
  if (root == 0) return true;
  const std::u16string_view rest = std::u16string_view(appFolder).substr(root);
  if (rest.find_first_not_of(u"\\/") == std::u16string_view::npos || !isContainedRelativePath(rest)) return true;
  const std::u16string appKey = folderKey(appFolder);
  if (appKey.empty() || appKey.size() <= fullPathRootLength(appKey)) return true;

  std::vector<std::optional<FolderId>> appChain;
  for (const std::u16string& folder : folderAndAncestors(appFolder)) {
    appChain.push_back(folderId ? folderId(folder) : std::nullopt);
  }
  for (const ProtectedFolder& folder : protectedFolders) {
    if (refusedByText(appKey, folder)) return true;
    if (folderId && refusedByIdentity(appChain, folder, folderId)) return true;
  }
  return false;
}

bool isOwnAppFolder(const std::u16string& appFolder, const std::u16string& ownFolder, const FolderIdLookup& folderId) {
  if (folderId) {
    const std::optional<FolderId> app = folderId(appFolder);
    const std::optional<FolderId> own = folderId(ownFolder);
    if (app && own) return app == own;
  }
  const std::u16string key = folderKey(appFolder);
  return !key.empty() && key == folderKey(ownFolder);
}

RecordPlace placeOfRecordPath(const std::u16string& path, const RemovalFolders& folders) {
  if (hasForbiddenCharacter(path)) return {};
  std::vector<std::u16string> roots = {folders.appFolder};
  roots.insert(roots.end(), folders.sharedFolders.begin(), folders.sharedFolders.end());
  for (const std::u16string& folder : roots) {
    if (folder.empty()) continue;
    const std::u16string root = addBackslash(folder);
    if (path.size() <= root.size() || !equalsIgnoringAsciiCase(std::u16string_view(path).substr(0, root.size()), root)) {
      continue;
    }
    const std::u16string_view rest = std::u16string_view(path).substr(root.size());
    if (!isContainedRelativePath(rest)) return {};
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
      std::size_t end = start;
      while (end < rest.size() && !isSeparator(rest[end])) ++end;
      parts.push_back(rest.substr(start, end - start));
      start = end + 1;
    }
    if (parts.back().empty()) parts.pop_back();  // a folder record ends in "\"
    RecordPlace place;
    std::u16string onTheWay = root;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      // Windows drops a name's trailing dots and spaces: a part made only of them ("", ".",
      // ". ") names the folder it stands in, so "Desktop\.\" would be the desktop itself.
      if (parts[i].find_first_not_of(u". ") == std::u16string_view::npos) return {};
      if (i + 1 == parts.size()) break;
      onTheWay.append(parts[i]);
      onTheWay += kBackslash;
      place.foldersOnTheWay.push_back(onTheWay);
    }
    place.allowed = !parts.empty();
    return place;
  }
  return {};
}

bool isRemovableUninstallKey(const std::u16string& subKey) {
  std::u16string_view key = subKey;
  if (!key.empty() && key.front() == kBackslash) key.remove_prefix(1);
  const std::u16string_view base = kUninstallKeyBase;
  if (key.size() <= base.size() || !equalsIgnoringAsciiCase(key.substr(0, base.size()), base)) return false;
  std::u16string_view name = key.substr(base.size());
  if (!name.empty() && name.back() == kBackslash) name.remove_suffix(1);
  return !name.empty() && name.find(kBackslash) == std::u16string_view::npos;
}

}  // namespace averlune
