#include "lifecycle/work_folder_win.h"

#include <windows.h>

#include "config/folder_path_win.h"
#include "config/owned_handle_win.h"
#include "config/path_text.h"
#include "config/temporary_names_win.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

void removeFolderTree(const std::u16string& folder) {  // folder ends in "\"
  {
    WIN32_FIND_DATAW found;
    const OwnedFindHandle search(FindFirstFileW(wide(folder + u"*.*"), &found));
    if (search) {
      do {
        const std::u16string name = fromWide(found.cFileName);
        if (name == u"." || name == u"..") continue;
        const std::u16string path = folder + name;
        // A reparse point is removed as a link, never followed: its target is not ours.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
          removeFolderTree(path + u"\\");
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveDirectoryW(wide(path));  // failure leaves it, like any other undeletable entry
        } else {
          DeleteFileW(wide(path));  // read-only files stay: the run does not force deletion
        }
      } while (FindNextFileW(search.get(), &found));
    }
  }  // the search is closed here: an open search keeps its folder from being removed
  RemoveDirectoryW(wide(folder));  // fails while anything stayed; then the folder stays too
}

}  // namespace

bool makeWorkFolder(std::u16string& workFolder) {
  const std::u16string temporary = temporaryFolder();
  // Without it the path would be relative and the work folder would land next to the setup.
  if (temporary.empty()) {
    workFolder.clear();
    return false;
  }
  workFolder = temporary + newGuidText() + u"\\";
  return CreateDirectoryW(wide(workFolder), nullptr) != 0;
}

void removeWorkFolder(const std::u16string& folder) {
  if (folder.empty() || !folderExists(folder)) return;
  removeFolderTree(addBackslash(folder));
}

}  // namespace averlune
