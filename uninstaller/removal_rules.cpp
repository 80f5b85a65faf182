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

bool isOwnAppFolder(const std::u16string& appFolder, const std::u16string& ownFolder) {
  const std::u16string key = folderKey(appFolder);
  return !key.empty() && key == folderKey(ownFolder);
}

namespace {

// The groups Windows keeps in the Programs folders; a log never removes them or what they hold.
constexpr std::u16string_view kShellFolderNames[] = {
    u"Startup", u"Administrative Tools", u"Accessories", u"Accessibility", u"Maintenance", u"System Tools",
    u"Games", u"Windows PowerShell", u"Windows Accessories", u"Windows Administrative Tools",
    u"Windows Ease of Access", u"Windows System", u"Windows Tools",
};

// The parts of `path` below `folder` into `place`: true when the path lies textually below the
// folder. `place.allowed` then says whether it does so as a plain relative path with at least one
// part; a path below the folder that is not plain is refused whatever other folder it might match.
bool placeBelow(const std::u16string& path, const std::u16string& folder, RecordPlace& place) {
  place = RecordPlace();
  if (folder.empty()) return false;
  const std::u16string root = addBackslash(folder);
  if (path.size() <= root.size() || !equalsIgnoringAsciiCase(std::u16string_view(path).substr(0, root.size()), root)) {
    return false;
  }
  const std::u16string_view rest = std::u16string_view(path).substr(root.size());
  if (!isContainedRelativePath(rest)) return true;
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !isSeparator(rest[end])) ++end;
    parts.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }
  if (parts.back().empty()) parts.pop_back();  // a folder record ends in "\"
  // Windows drops a name's trailing dots and spaces: a part made only of them ("", ".", ". ")
  // names the folder it stands in, so "Desktop\.\" would be the desktop itself.
  for (const std::u16string& part : parts) {
    if (part.find_first_not_of(u". ") == std::u16string::npos) return true;
  }
  place.root = root;
  place.parts = std::move(parts);
  place.allowed = !place.parts.empty();
  return true;
}

// True when the place is in a shell folder of the Programs folders or is one: its group (the
// outermost part) bears a name of kShellFolderNames, or it lies in or at a folder of `shellFolders`.
bool isInShellFolder(const RecordPlace& place, const std::vector<std::u16string>& shellFolders) {
  const std::u16string& group = place.parts.front();
  const std::u16string_view name = std::u16string_view(group).substr(0, group.find_last_not_of(u". ") + 1);
  for (std::u16string_view known : kShellFolderNames) {
    if (equalsIgnoringAsciiCase(name, known)) return true;
  }
  std::u16string path = place.root;
  for (const std::u16string& part : place.parts) path += part + kBackslash;
  const std::u16string key = folderKey(path);
  for (const std::u16string& folder : shellFolders) {
    const std::u16string shellKey = folderKey(folder);
    if (!key.empty() && !shellKey.empty() && startsWith(key, shellKey)) return true;
  }
  return false;
}

bool endsWithLink(const std::u16string& name) {
  constexpr std::u16string_view kLink = u".lnk";
  return name.size() > kLink.size() &&
         equalsIgnoringAsciiCase(std::u16string_view(name).substr(name.size() - kLink.size()), kLink);
}

}  // namespace

RecordPlace placeOfRecordPath(const std::u16string& path, bool folderRecord, const RemovalScope& scope) {
  if (hasForbiddenCharacter(path)) return {};
  RecordPlace place;
  if (placeBelow(path, scope.appFolder, place)) return place;
  if (!folderRecord) {
    for (const std::u16string& desktop : scope.desktopFolders) {
      if (!placeBelow(path, desktop, place)) continue;
      if (place.parts.size() != 1 || !endsWithLink(place.parts.back())) return {};
      return place;
    }
  }
  for (const std::u16string& programs : scope.programsFolders) {
    if (!placeBelow(path, programs, place)) continue;
    if (!place.allowed) return {};
    // A link directly in the Programs folder names no group; anything else lies in the group of
    // its outermost part.
    const bool inGroup = folderRecord || place.parts.size() > 1;
    if (!folderRecord && !endsWithLink(place.parts.back())) return {};
    if (inGroup && isInShellFolder(place, scope.shellFolders)) return {};
    return place;
  }
  return {};
}

RecordPlace folderFromItsRoot(const std::u16string& folder) {
  const std::size_t rootLength = fullPathRootLength(folder);
  if (rootLength == 0 || hasForbiddenCharacter(folder)) return {};
  std::u16string root = folder.substr(0, rootLength);
  for (char16_t& c : root) {
    if (isSeparator(c)) c = kBackslash;
  }
  RecordPlace place;
  placeBelow(root + addBackslash(folder.substr(rootLength)), root, place);
  return place;
}

bool isRemovableUninstallKey(const std::u16string& rootName, const std::u16string& subKey,
                             const std::u16string& appName) {
  if (rootName != kUninstallRootName || appName.empty() || appName.find(kBackslash) != std::u16string::npos) {
    return false;
  }
  std::u16string_view key = subKey;
  if (!key.empty() && key.front() == kBackslash) key.remove_prefix(1);
  if (!key.empty() && key.back() == kBackslash) key.remove_suffix(1);
  return equalsIgnoringAsciiCase(key, std::u16string(kUninstallKeyBase) + appName);
}

}  // namespace averlune
