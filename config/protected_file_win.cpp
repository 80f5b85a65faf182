#include "config/protected_file_win.h"

#include <windows.h>
#include <sddl.h>

#include <cstring>
#include <vector>

#include "config/temporary_names_win.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

// P: protected, nothing inherited. FA: full control. 0x1200a9: read, execute, read attributes and
// the DACL, synchronise; no write, append, delete or write-DAC right.
constexpr wchar_t kProtectedDacl[] = L"D:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1200a9;;;BU)";

bool writeAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool renameOver(HANDLE file, const std::u16string& path) {
  const DWORD nameBytes = static_cast<DWORD>(path.size() * sizeof(wchar_t));
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = nameBytes;
  std::memcpy(info->FileName, path.data(), nameBytes);
  return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
}

OwnedHandle createNewProtected(const std::u16string& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedDacl, SDDL_REVISION_1, &descriptor, nullptr)) {
    return {};
  }
  SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
  // A new name each time: create-new never opens what someone placed there, and create-always
  // would keep an existing file's DACL.
  const std::u16string guid = newGuidText();
  OwnedHandle file;
  if (!guid.empty()) {
    file = OwnedHandle(CreateFileW(wide(path + u"." + guid), GENERIC_WRITE | DELETE, FILE_SHARE_READ, &security,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  }
  LocalFree(descriptor);
  return file;
}

}  // namespace

OwnedHandle writeProtectedFile(const std::u16string& path, const std::string& bytes) {
  OwnedHandle file = createNewProtected(path);
  if (!file) return {};
  if (writeAll(file.get(), bytes) && FlushFileBuffers(file.get()) && renameOver(file.get(), path)) return file;
  FILE_DISPOSITION_INFO remove{TRUE};
  SetFileInformationByHandle(file.get(), FileDispositionInfo, &remove, sizeof remove);  // gone when the handle closes
  return {};
}

}  // namespace averlune
