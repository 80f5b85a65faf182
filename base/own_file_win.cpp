#include "base/own_file_win.h"

#include <windows.h>

#include <vector>

#include "base/wide_text_win.h"

namespace averlune {

std::u16string ownFilePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return fromWide(buffer.data(), length);
    buffer.resize(buffer.size() * 2);  // cut short: ask again with room to spare
  }
}

OwnedHandle openOwnFile(const std::u16string& path) {
  if (path.empty()) return {};
  return OwnedHandle(CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace averlune
