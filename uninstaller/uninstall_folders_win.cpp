#include "uninstaller/uninstall_folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/special_folder.h"
#include "base/system_lookup_win.h"

namespace averlune {
namespace {

std::vector<std::u16string> specialFolders(std::initializer_list<int> csidls) {
  const SystemLookup system = windowsSystemLookup();
  std::vector<std::u16string> folders;
  for (int csidl : csidls) {
    const std::u16string folder = specialFolder(system, csidl, true);
    if (!folder.empty()) folders.push_back(folder);
  }
  return folders;
}

}  // namespace

std::vector<std::u16string> desktopFolders() {
  return specialFolders({CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY});
}

std::vector<std::u16string> programsFolders() { return specialFolders({CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}); }

std::vector<std::u16string> shellFoldersInPrograms() {
  return specialFolders({CSIDL_STARTUP, CSIDL_COMMON_STARTUP, CSIDL_ALTSTARTUP, CSIDL_COMMON_ALTSTARTUP,
                         CSIDL_ADMINTOOLS, CSIDL_COMMON_ADMINTOOLS});
}

}  // namespace averlune
