#include "base/folder_path_win.h"

#include <windows.h>

#include <vector>

#include "base/folder_path.h"
#include "base/wide_text_win.h"

namespace averlune {

bool folderExists(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isLinkByName(const std::u16string& path) {
  std::u16string name = path;
  while (name.size() > 3 && name.back() == u'\\') name.pop_back();
  const DWORD attributes = GetFileAttributesW(wide(name));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool makeFolderPath(const std::u16string& path) {
  for (const std::u16string& prefix : folderPathPrefixes(path)) {
    // A drive root or a share exists or cannot be made; either way the next level tells.
    if (!folderExists(prefix)) CreateDirectoryW(wide(prefix), nullptr);
  }
  return folderExists(path);
}

std::u16string fullPath(const std::u16string& path) {
  if (path.empty()) return path;
  const DWORD size = GetFullPathNameW(wide(path), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::vector<wchar_t> buffer(size);
  const DWORD length = GetFullPathNameW(wide(path), size, buffer.data(), nullptr);
  return length == 0 || length >= size ? path : fromWide(buffer.data(), length);
}

}  // namespace averlune
