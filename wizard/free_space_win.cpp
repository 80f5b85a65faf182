#include "wizard/free_space_win.h"

#include <windows.h>

#include "base/wide_text_win.h"
#include "wizard/free_space.h"

namespace averlune {

std::u16string formatFreeSpace(const std::u16string& folder) {
  const std::u16string root = freeSpaceRootOf(folder);
  if (root.empty()) return freeSpaceText(0);
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  ULARGE_INTEGER available{}, total{}, free{};
  const BOOL asked = GetDiskFreeSpaceExW(wide(root), &available, &total, &free);
  SetErrorMode(previous);
  return freeSpaceText(asked ? free.QuadPart : 0);
}

}  // namespace averlune
