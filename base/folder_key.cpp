#include "base/folder_key.h"

#include "base/path_text.h"

namespace averlune {
namespace {

bool isAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

}  // namespace

bool hasForbiddenPathCharacter(std::u16string_view text) {
  for (char16_t c : text) {
    if (c < 0x20 || c == u'"' || c == u'<' || c == u'>' || c == u'|' || c == u'*' || c == u'?') return true;
  }
  return false;
}

std::size_t fullPathRootLength(std::u16string_view path) {
  if (path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == u':' && isPathSeparator(path[2])) return 3;
  if (path.size() < 2 || !isPathSeparator(path[0]) || !isPathSeparator(path[1])) return 0;
  std::size_t serverEnd = 2;
  while (serverEnd < path.size() && !isPathSeparator(path[serverEnd])) ++serverEnd;
  const std::u16string_view server = path.substr(2, serverEnd - 2);
  if (server.empty() || server == u"?" || server == u"." || serverEnd == path.size()) return 0;
  std::size_t shareEnd = serverEnd + 1;
  while (shareEnd < path.size() && !isPathSeparator(path[shareEnd])) ++shareEnd;
  if (shareEnd == serverEnd + 1 || shareEnd == path.size()) return 0;
  return shareEnd + 1;
}

std::u16string folderKey(std::u16string_view path) {
  const std::size_t root = fullPathRootLength(path);
  if (root == 0) return {};
  std::u16string key;
  for (std::size_t i = 0; i < root; ++i) key += isPathSeparator(path[i]) ? kBackslash : asciiLower(path[i]);
  std::size_t start = root;
  while (start < path.size()) {
    std::size_t end = start;
    while (end < path.size() && !isPathSeparator(path[end])) ++end;
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

}  // namespace averlune
