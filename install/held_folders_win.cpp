#include "install/held_folders_win.h"

#include <windows.h>

#include "config/folder_path_win.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

// What a folder or file opened as itself must be. Its attributes alone are asked for: the whole
// file information also asks the volume for its serial number, which Wine answers through its
// mount manager, a round trip to another process for every file.
bool isPlain(HANDLE handle, bool folder) {
  FILE_BASIC_INFO info{};
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info)) return false;
  const bool isFolder = (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return isFolder == folder && (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// The folder itself, never what a link there points to. Listing rights take part in sharing, so
// leaving out delete sharing keeps others from renaming or removing it while it is held; reading
// and writing stay shared, as creating files in it needs.
OwnedHandle openPlainFolder(const std::u16string& folder) {
  std::u16string path = folder;
  if (path.size() > 3 && path.back() == u'\\') path.pop_back();  // "C:\" keeps its backslash
  OwnedHandle handle(CreateFileW(wide(path), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle || !isPlain(handle.get(), true) || isLinkByName(path)) return {};
  return handle;
}

// Both separators count: a "/" in a name the run was given would otherwise reach a folder that
// was never checked.
std::u16string folderOf(const std::u16string& path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator + 1);
}

HANDLE openFile(const std::u16string& path, DWORD access, DWORD disposition) {
  return CreateFileW(wide(path), access, FILE_SHARE_READ, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

bool holdApplicationFolder(HeldFolders& folders, const std::u16string& root) {
  folders.held.clear();
  folders.root = root;
  makeFolderPath(root);  // the levels above are the user's choice; the last one is checked below
  OwnedHandle handle = openPlainFolder(root);
  if (!handle) return false;
  folders.held.emplace(root, std::move(handle));
  return true;
}

bool holdFolder(HeldFolders& folders, const std::u16string& folder) {
  if (folders.root.empty() || folder.compare(0, folders.root.size(), folders.root) != 0) return false;
  // Below the root only "\" separates levels: a "/" would reach a level never checked.
  if (!folders.held.count(folders.root) || folder.find(u'/', folders.root.size()) != std::u16string::npos) {
    return false;
  }
  for (std::size_t at = folder.find(u'\\', folders.root.size()); at != std::u16string::npos;
       at = folder.find(u'\\', at + 1)) {
    const std::u16string level = folder.substr(0, at + 1);
    if (folders.held.count(level)) continue;
    // Made by name inside a held folder; whatever stands there is then opened as itself.
    CreateDirectoryW(wide(level), nullptr);
    OwnedHandle handle = openPlainFolder(level);
    if (!handle) return false;
    folders.held.emplace(level, std::move(handle));
  }
  return true;
}

bool isInHeldFolder(const HeldFolders& folders, const std::u16string& path) {
  return folders.held.count(folderOf(path)) > 0;
}

HANDLE createFileInHeldFolder(const HeldFolders& folders, const std::u16string& path) {
  if (!isInHeldFolder(folders, path)) return nullptr;
  // A new file is plain by its making, and making a new one never follows a link (not even one of
  // the host under Wine): a fresh installation's one call per file.
  HANDLE file = openFile(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
  if (file != INVALID_HANDLE_VALUE) return file;
  // Under Wine create-always would follow a link of the host and truncate what it points to.
  if (isLinkByName(path)) return nullptr;
  file = openFile(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) file = openFile(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, TRUNCATE_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  if (!isPlain(file, false)) {
    CloseHandle(file);
    return nullptr;
  }
  return file;
}

bool removeFileInHeldFolder(const HeldFolders& folders, const std::u16string& path) {
  if (!isInHeldFolder(folders, path) || isLinkByName(path)) return false;
  const OwnedHandle file(CreateFileW(wide(path), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file || !isPlain(file.get(), false)) return false;
  FILE_BASIC_INFO plain{};  // times left at zero stay as they are
  plain.FileAttributes = FILE_ATTRIBUTE_NORMAL;  // a read-only file refuses to be removed
  SetFileInformationByHandle(file.get(), FileBasicInfo, &plain, sizeof plain);
  FILE_DISPOSITION_INFO removal{TRUE};
  return SetFileInformationByHandle(file.get(), FileDispositionInfo, &removal, sizeof removal) != 0;
}

}  // namespace averlune
