#include "uninstaller/removal_system_win.h"

#include <windows.h>

#include "config/owned_handle_win.h"
#include "config/path_text.h"
#include "config/registry_win.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

// A link is named without a "\" at its end: with one, the name would stand for what is behind it.
std::u16string withoutTrailingBackslash(std::u16string path) {
  while (path.size() > 3 && path.back() == kBackslash) path.pop_back();
  return path;
}

// GetFileAttributesW reports a link's own attributes, never its target's.
DWORD attributesOf(const std::u16string& path) { return GetFileAttributesW(wide(withoutTrailingBackslash(path))); }

bool isLinkAttribute(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void removeFile(const std::u16string& path) {
  const DWORD attributes = attributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    // A folder under a file record: only a link to a folder goes (the link itself); a real folder
    // is no file.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) RemoveDirectoryW(wide(withoutTrailingBackslash(path)));
    return;
  }
  DeleteFileW(wide(path));  // deletes a file link itself; a read-only or busy file stays
}

void removeFolder(const std::u16string& path) {
  const DWORD attributes = attributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    RemoveDirectoryW(wide(withoutTrailingBackslash(path)));  // the link itself; what it points to is not ours
    return;
  }
  const std::u16string folder = addBackslash(path);
  {
    WIN32_FIND_DATAW found;
    const OwnedFindHandle search(FindFirstFileW(wide(folder + u"*.*"), &found));
    if (search) {
      do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) continue;
        DeleteFileW(wide(folder + fromWide(found.cFileName)));  // a busy file stays
      } while (FindNextFileW(search.get(), &found));
    }
  }  // an open search keeps its folder from being removed
  RemoveDirectoryW(wide(folder));  // only when empty now
}

}  // namespace

RemovalSystem windowsRemovalSystem() {
  RemovalSystem system;
  system.exists = [](const std::u16string& path) { return attributesOf(path) != INVALID_FILE_ATTRIBUTES; };
  system.isLink = [](const std::u16string& path) { return isLinkAttribute(attributesOf(path)); };
  system.removeFile = removeFile;
  system.removeFolder = removeFolder;
  // Failures are passed over: a value or key that is already gone is no reason to stop.
  system.deleteValue = [](RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
    deleteValue(root, subKey, valueName);
  };
  system.deleteKey = [](RegistryRoot root, const std::u16string& subKey) { deleteKey(root, subKey); };
  system.pruneEmptyKeys = pruneEmptyKeys;
  return system;
}

}  // namespace averlune
