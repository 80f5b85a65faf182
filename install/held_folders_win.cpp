#include "install/held_folders_win.h"

#include <windows.h>

#include "base/folder_path.h"
#include "base/folder_path_win.h"
#include "guards/files_in_use_win.h"
#include "guards/link_free_files_win.h"
#include "guards/protected_dacl_win.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

// The existing application folder itself, never what a link there points to. Listing rights take
// part in sharing, so leaving out delete sharing keeps others from renaming or removing it while
// it is held; reading and writing stay shared, as creating files in it needs. Its attributes
// alone are asked for: the whole file information also asks the volume for its serial number,
// which Wine answers through its mount manager, a round trip to another process.
OwnedHandle openPlainFolder(const std::u16string& folder) {
  std::u16string path = folder;
  if (path.size() > 3 && path.back() == u'\\') path.pop_back();  // "C:\" keeps its backslash
  OwnedHandle handle(CreateFileW(wide(path), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  FILE_BASIC_INFO info{};
  if (!handle || !GetFileInformationByHandleEx(handle.get(), FileBasicInfo, &info, sizeof info) ||
      (info.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != FILE_ATTRIBUTE_DIRECTORY ||
      isLinkByName(path)) {
    return {};
  }
  return handle;
}

// The last name of `level` (ending in "\").
std::u16string lastName(const std::u16string& level) {
  const std::size_t before = level.find_last_of(u'\\', level.size() - 2);
  return level.substr(before + 1, level.size() - before - 2);
}

// Makes the folder `name` in `parent` (reached by `parentPath`) with the machine's DACL, or opens
// the plain folder that stands there already: held either way.
OwnedHandle makeOrOpenLevel(HANDLE parent, const std::u16string& parentPath, const std::u16string& name) {
  const OwnedSecurityDescriptor security = protectedSecurity(ProtectedDacl::folderTree);
  if (!security) return {};
  bool taken = false;
  OwnedHandle made = createLinkFree(parent, name, NewItem::folder, security.get(), &taken);
  if (made || !taken) return made;
  return openFolderOnTheWay(parent, parentPath, name);
}

// Makes the levels of `root` that are missing, each inside the one before; the deepest level that
// stands is reached by its path.
OwnedHandle makeApplicationFolder(const std::u16string& root) {
  const std::vector<std::u16string> levels = folderPathPrefixes(root);
  std::size_t standing = levels.size();
  while (standing > 0 && !folderExists(levels[standing - 1])) --standing;
  if (standing == 0) return {};
  OwnedHandle current = openTrustedFolder(levels[standing - 1]);
  for (std::size_t level = standing; current && level < levels.size(); ++level) {
    current = makeOrOpenLevel(current.get(), levels[level - 1], lastName(levels[level]));
  }
  return current;
}

// Both separators count: a "/" in a name the run was given would otherwise reach a folder that
// was never checked.
std::size_t folderEnd(const std::u16string& path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  return separator == std::u16string::npos ? 0 : separator + 1;
}

}  // namespace

bool holdApplicationFolder(HeldFolders& folders, const std::u16string& root) {
  folders.held.clear();
  folders.root = root;
  OwnedHandle handle = openPlainFolder(root);
  if (!handle && !folderExists(root)) handle = makeApplicationFolder(root);
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
  std::u16string parent = folders.root;
  HANDLE parentHandle = folders.held.find(parent)->second.get();  // the root, held as checked above
  for (std::size_t at = folder.find(u'\\', folders.root.size()); at != std::u16string::npos;
       at = folder.find(u'\\', at + 1)) {
    const std::u16string level = folder.substr(0, at + 1);
    auto held = folders.held.find(level);
    if (held == folders.held.end()) {
      OwnedHandle handle = makeOrOpenLevel(parentHandle, parent, lastName(level));
      if (!handle) return false;
      held = folders.held.emplace(level, std::move(handle)).first;
    }
    parent = level;
    parentHandle = held->second.get();
  }
  return true;
}

PlaceInHeldFolder placeInHeldFolder(const HeldFolders& folders, const std::u16string& path) {
  const std::size_t end = folderEnd(path);
  const auto held = folders.held.find(path.substr(0, end));
  if (held == folders.held.end() || end == path.size()) return {};
  return {held->second.get(), path.substr(end)};
}

std::unique_ptr<FileInHeldFolder> createFileInHeldFolder(const HeldFolders& folders, const std::u16string& path) {
  const PlaceInHeldFolder place = placeInHeldFolder(folders, path);
  if (!place.folder) return nullptr;
  auto file = std::make_unique<FileInHeldFolder>();
  file->folder = place.folder;
  file->path = path;
  file->name = place.name;
  // A new file is plain by its making, and making one never opens what stands at the name, a link
  // of the host under Wine included. A name that is taken is replaced only by the rename.
  bool taken = false;
  file->file = createLinkFree(place.folder, place.name, NewItem::file, nullptr, &taken);
  if (!file->file && taken) {
    file->file = createUnderNewName(place.folder, place.name, nullptr, &file->newName);
    file->underNewName = true;
  }
  if (!file->file) return nullptr;
  return file;
}

bool putFileInPlace(FileInHeldFolder& file, FilesReplacedAtRestart* atRestart) {
  if (!file.underNewName) return true;
  std::uint32_t status = 0;
  if (renameInFolder(file.file.get(), file.folder, file.name, ExistingName::replace, &status)) return true;
  // The held name is judged by its attributes alone: a holder that shares nothing still lets them
  // be read. The new file lies in the same held folder, so both paths share the folder's text.
  const std::u16string waitingCopy = file.path.substr(0, folderEnd(file.path)) + file.newName;
  if (atRestart && atRestart->allowed && waitsForRestart(status, GetFileAttributesW(wide(file.path))) &&
      replaceAtRestart(waitingCopy, file.path)) {
    atRestart->queued.push_back({file.path, programsHolding(file.path), waitingCopy});
    return true;
  }
  deleteOnClose(file.file.get());  // gone when the handle closes
  return false;
}

bool removeFileInHeldFolder(const HeldFolders& folders, const std::u16string& path) {
  const PlaceInHeldFolder place = placeInHeldFolder(folders, path);
  if (!place.folder) return false;
  const OwnedHandle file = openLinkFree(place.folder, place.name, LinkFreeAccess::ownFile);
  if (!file || linkState(file.get(), path) != LinkState::none ||
      (attributesOf(file.get()) & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  FILE_BASIC_INFO plain{};  // times left at zero stay as they are
  plain.FileAttributes = FILE_ATTRIBUTE_NORMAL;  // a read-only file refuses to be removed
  SetFileInformationByHandle(file.get(), FileBasicInfo, &plain, sizeof plain);
  return deleteOnClose(file.get());
}

}  // namespace averlune
