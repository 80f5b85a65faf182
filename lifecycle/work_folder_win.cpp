#include "lifecycle/work_folder_win.h"

#include <objbase.h>
#include <windows.h>

#include <vector>

#include "config/folder_path_win.h"
#include "config/owned_handle_win.h"
#include "config/path_text.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

constexpr int kGuidTextLength = 38;  // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"

std::u16string temporaryFolder() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  }
  if (length == 0 || length >= buffer.size()) return {};
  std::u16string path = fromWide(buffer.data(), length);

  // The temporary path may come in 8.3 form ("C:\Users\ADMINI~1\..."); programs the setup starts
  // later see the long form, so use it where the platform can give it.
  DWORD longLength = GetLongPathNameW(wide(path), nullptr, 0);
  if (longLength == 0) return path;
  std::vector<wchar_t> longBuffer(longLength);
  longLength = GetLongPathNameW(wide(path), longBuffer.data(), longLength);
  if (longLength == 0 || longLength >= longBuffer.size()) return path;
  return fromWide(longBuffer.data(), longLength);
}

std::u16string newGuidText() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return {};
  wchar_t text[kGuidTextLength + 1];
  if (StringFromGUID2(guid, text, kGuidTextLength + 1) != kGuidTextLength + 1) return {};
  return fromWide(text, kGuidTextLength);
}

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
  workFolder = temporaryFolder() + newGuidText() + u"\\";
  return CreateDirectoryW(wide(workFolder), nullptr) != 0;
}

void removeWorkFolder(const std::u16string& folder) {
  if (folder.empty() || !folderExists(folder)) return;
  removeFolderTree(addBackslash(folder));
}

}  // namespace averlune
