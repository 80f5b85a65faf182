#include "base/special_folder.h"

#include <utility>

#include "base/path_text.h"

namespace averlune {

std::u16string specialFolder(const SystemLookup& system, int csidl, bool addBackslash) {
  std::u16string folder = system.specialFolder ? system.specialFolder(csidl) : std::u16string();
  if (addBackslash && !folder.empty()) folder = averlune::addBackslash(std::move(folder));
  return folder;
}

}  // namespace averlune
