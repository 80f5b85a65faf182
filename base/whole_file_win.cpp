#include "base/whole_file_win.h"

#include <windows.h>

#include "base/owned_handle_win.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

bool writeNewFile(const std::u16string& path, const std::string& bytes) {
  const OwnedHandle file(CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
  if (!file) return false;
  DWORD written = 0;
  return bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size() && FlushFileBuffers(file.get()));
}

}  // namespace

bool replaceFileWhole(const std::u16string& path, const std::string& bytes) {
  const std::u16string partial = path + u".partial";
  if (writeNewFile(partial, bytes) &&
      MoveFileExW(wide(partial), wide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(wide(partial));  // nothing cut is left behind
  return false;
}

}  // namespace averlune
