#include "uninstaller/removal_rules.h"

#include <string_view>

#include "config/contained_path.h"
#include "config/folder_key.h"
#include "config/path_text.h"
#include "config/uninstall_log.h"

namespace averlune {
bool isOwnAppFolder(const std::u16string& appFolder, const std::u16string& ownFolder) {
  const std::u16string key = folderKey(appFolder);
  return !key.empty() && key == folderKey(ownFolder);
}

namespace {

bool startsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

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
    while (end < rest.size() && !isPathSeparator(rest[end])) ++end;
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
  if (hasForbiddenPathCharacter(path)) return {};
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
