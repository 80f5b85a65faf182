#include "base/contained_path.h"

namespace averlune {
namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// ".." climbs one folder. Windows drops trailing dots and spaces from a name, so "...", ".. " and
// the like may climb as well: any part made only of dots and spaces with two or more dots counts.
bool climbs(std::u16string_view part) {
  std::size_t dots = 0;
  for (char16_t c : part) {
    if (c == u'.') {
      ++dots;
    } else if (c != u' ') {
      return false;
    }
  }
  return dots >= 2;
}

}  // namespace

bool isContainedRelativePath(std::u16string_view name) {
  if (name.empty() || isSeparator(name.front())) return false;
  // "C:x" is relative to drive C's current folder, not to ours; a colon anywhere else names an
  // alternate data stream or a device, neither of which belongs in an archive name.
  if (name.find(u':') != std::u16string_view::npos) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) ++end;
    if (climbs(name.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace averlune
