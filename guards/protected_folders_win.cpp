#include "guards/protected_folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/owned_handle_win.h"
#include "base/path_text.h"
#include "base/temporary_names_win.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

using FolderQuery = UINT(WINAPI*)(LPWSTR, UINT);

std::u16string folderFrom(FolderQuery query) {
  wchar_t path[MAX_PATH] = {};
  const UINT length = query(path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::u16string() : fromWide(path, length);
}

// The folder that holds `folder`; empty when there is none.
std::u16string parentOf(const std::u16string& folder) {
  std::u16string path = folder;
  while (!path.empty() && path.back() == kBackslash) path.pop_back();
  const std::size_t separator = path.rfind(kBackslash);
  return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator + 1);
}

// The folder of `csidl` ending in "\", straight from the shell's folder table; empty when the
// system has none. The item-list round trip the author's variables go through costs a few
// milliseconds a folder, and the guard asks for eighteen of them while the user waits for the wizard.
std::u16string shellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  const std::u16string folder = fromWide(path);
  return folder.empty() ? folder : addBackslash(folder);
}

}  // namespace

std::vector<ProtectedFolder> protectedFolders() {
  std::vector<ProtectedFolder> folders;
  auto add = [&folders](const std::u16string& path, FolderGuard guard) {
    if (!path.empty()) folders.push_back({path, guard});
  };
  add(folderFrom(GetSystemWindowsDirectoryW), FolderGuard::inside);
  add(folderFrom(GetWindowsDirectoryW), FolderGuard::inside);
  add(folderFrom(GetSystemDirectoryW), FolderGuard::itself);
  add(folderFrom(GetSystemWow64DirectoryW), FolderGuard::itself);  // none on 32-bit Windows
  const std::u16string profile = shellFolder(CSIDL_PROFILE);
  add(profile, FolderGuard::itself);
  if (!profile.empty()) add(parentOf(profile), FolderGuard::children);
  add(temporaryFolder(), FolderGuard::itself);
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON,
                    CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_COMMON_APPDATA, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA,
                    CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
                    CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU, CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_STARTUP,
                    CSIDL_COMMON_STARTUP, CSIDL_FONTS}) {
    add(shellFolder(csidl), FolderGuard::itself);
  }
  return folders;
}

std::optional<FolderId> folderIdentity(const std::u16string& folder) {
  // FILE_FLAG_BACKUP_SEMANTICS opens a folder; no access right is needed to read its identity.
  const OwnedHandle handle(CreateFileW(wide(folder), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!handle || !GetFileInformationByHandle(handle.get(), &information) ||
      !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return FolderId{information.dwVolumeSerialNumber,
                  (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

}  // namespace averlune
