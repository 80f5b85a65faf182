#include "config/log_file_win.h"

#include <windows.h>

#include "config/owned_handle_win.h"
#include "config/text_decoding.h"
#include "config/wide_text_win.h"

namespace averlune {

void appendLogLine(const std::u16string& path, const std::u16string& line) {
  const OwnedHandle file(CreateFileW(wide(path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const std::string bytes = encodeUtf8(line) + "\r\n";
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace averlune
