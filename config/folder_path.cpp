#include "config/folder_path.h"

namespace averlune {

std::vector<std::u16string> folderPathPrefixes(const std::u16string& path) {
  std::vector<std::u16string> prefixes;
  for (std::size_t at = path.find(u'\\'); at != std::u16string::npos; at = path.find(u'\\', at + 1)) {
    prefixes.push_back(path.substr(0, at + 1));
  }
  return prefixes;
}

}  // namespace averlune
