#include "uninstaller/removal_rules.h"

#include <string_view>

#include "base/contained_path.h"
#include "base/folder_key.h"
#include "base/path_text.h"
#include "config/uninstall_log.h"

namespace averlune {
bool isOwnAppFolder(const std::u16string& appFolder, const std::u16string& ownFolder) {
  const std::u16string key = folderKey(appFolder);
  return !key.empty() && key == folderKey(ownFolder);
}

bool namesUninstaller(const std::u16string& uninstallString, const std::u16string& ownFile) {
  std::u16string_view path = uninstallString;
  if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"') path = path.substr(1, path.size() - 2);
  if (path.empty() || path.find(u'"') != std::u16string_view::npos || isPathSeparator(path.back())) return false;
  return isOwnAppFolder(std::u16string(path), ownFile);
}

namespace {

// The groups Windows keeps in the Programs folders by name: a log that no digest vouches for never
// removes them or what they hold.
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

bool hasWindowsGroupName(const RecordPlace& place) {
  const std::u16string& group = place.parts.front();
  const std::u16string_view name = std::u16string_view(group).substr(0, group.find_last_not_of(u". ") + 1);
  for (std::u16string_view known : kShellFolderNames) {
    if (equalsIgnoringAsciiCase(name, known)) return true;
  }
  return false;
}

// True when the place is one of `shellFolders` (a folder record) or lies directly in one (a file
// record): Startup runs what lies in it at every logon. A group the setup made below one is its own.
bool isShellFolderOrIn(const RecordPlace& place, bool folderRecord, const std::vector<std::u16string>& shellFolders) {
  std::u16string path = place.root;
  for (std::size_t i = 0; i + (folderRecord ? 0 : 1) < place.parts.size(); ++i) path += place.parts[i] + kBackslash;
  const std::u16string key = folderKey(path);
  if (key.empty()) return true;
  for (const std::u16string& folder : shellFolders) {
    if (key == folderKey(folder)) return true;
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
  if (placeBelow(path, scope.appFolder, place)) {
    place.inAppFolder = place.allowed;
    return place;
  }
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
    if (isShellFolderOrIn(place, folderRecord, scope.shellFolders)) return {};
    if (inGroup && scope.trust != LogTrust::digestMatched && hasWindowsGroupName(place)) return {};
    return place;
  }
  return {};
}

std::u16string pathOfPlace(const RecordPlace& place, bool folder) {
  std::u16string path = place.root;
  for (std::size_t i = 0; i < place.parts.size(); ++i) {
    if (i > 0) path += kBackslash;
    path += place.parts[i];
  }
  return folder ? addBackslash(path) : path;
}

bool isRemovableUninstallKey(const std::u16string& rootName, const std::u16string& subKey,
                             const std::u16string& entryName) {
  if (rootName != kUninstallRootName || entryName.empty() || entryName.find(kBackslash) != std::u16string::npos) {
    return false;
  }
  std::u16string_view key = subKey;
  if (!key.empty() && key.front() == kBackslash) key.remove_prefix(1);
  if (!key.empty() && key.back() == kBackslash) key.remove_suffix(1);
  return equalsIgnoringAsciiCase(key, std::u16string(kUninstallKeyBase) + entryName);
}

}  // namespace averlune
