#include "guards/protected_file_win.h"

#include <windows.h>

#include "guards/link_free_files_win.h"
#include "guards/protected_dacl_win.h"

namespace averlune {
namespace {

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

}  // namespace

OwnedHandle writeProtectedFile(HANDLE folder, const std::u16string& name, const std::string& bytes) {
  const OwnedSecurityDescriptor security = protectedSecurity(ProtectedDacl::file);
  if (!security) return {};
  // A new name each time: create-new never opens what someone placed there, and create-always
  // would keep an existing file's DACL.
  OwnedHandle file = createUnderNewName(folder, name, security.get());
  if (!file) return {};
  if (writeAll(file.get(), bytes) && FlushFileBuffers(file.get()) && renameInFolder(file.get(), folder, name, ExistingName::replace)) {
    return file;
  }
  deleteOnClose(file.get());  // gone when the handle closes
  return {};
}

}  // namespace averlune
