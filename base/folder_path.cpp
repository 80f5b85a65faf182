#include "base/folder_path.h"

#include "base/contained_path.h"
#include "base/folder_key.h"

namespace averlune {

std::vector<std::u16string> folderPathPrefixes(const std::u16string& path) {
  std::vector<std::u16string> prefixes;
  for (std::size_t at = path.find(u'\\'); at != std::u16string::npos; at = path.find(u'\\', at + 1)) {
    prefixes.push_back(path.substr(0, at + 1));
  }
  return prefixes;
}

std::optional<FolderParts> folderPartsFromRoot(const std::u16string& folder) {
  const std::size_t rootLength = fullPathRootLength(folder);
  if (rootLength == 0 || hasForbiddenPathCharacter(folder)) return std::nullopt;
  FolderParts result;
  result.root = folder.substr(0, rootLength);
  for (char16_t& c : result.root) {
    if (isPathSeparator(c)) c = u'\\';
  }
  const std::u16string_view rest = std::u16string_view(folder).substr(rootLength);
  if (rest.empty() || !isContainedRelativePath(rest)) return std::nullopt;
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !isPathSeparator(rest[end])) ++end;
    const std::u16string part(rest.substr(start, end - start));
    if (part.find_first_not_of(u". ") == std::u16string::npos) return std::nullopt;
    result.parts.push_back(part);
    start = end + 1;
  }
  return result;
}

}  // namespace averlune
