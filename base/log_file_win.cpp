#include "base/log_file_win.h"

#include <windows.h>

#include "base/folder_path_win.h"
#include "base/owned_handle_win.h"
#include "base/text_decoding.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

// The name itself is the log: not a junction or symbolic link (asked of the handle opened as the
// name, and of the name, where Wine shows a host's link), and not a second name of a file that
// has others (a hard link planted at the name would have an elevated run append to that file).
bool isPlainLog(HANDLE file, const std::u16string& path) {
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  return GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) &&
         (basic.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
         GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) &&
         standard.NumberOfLinks <= 1 && !isLinkByName(path);
}

}  // namespace

void appendLogLine(const std::u16string& path, const std::u16string& line) {
  // Wine opens a host's symbolic link as what it points to whatever the flags say, and would make
  // a missing target: so the name is asked first as well.
  if (isLinkByName(path)) return;
  const OwnedHandle file(CreateFileW(wide(path), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file || !isPlainLog(file.get(), path)) return;
  const std::string bytes = encodeUtf8(line) + "\r\n";
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace averlune
