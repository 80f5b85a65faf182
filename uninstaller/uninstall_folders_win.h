#pragma once
// The folders of this machine that the removal rules need besides those an application folder may
// not be (guards/protected_folders_win.h): those besides it that records may remove from.
#include <string>
#include <vector>

namespace averlune {

// Where the setup puts shortcuts, this user's and all users', each ending in "\": the desktops,
// the start menu Programs folders, and the folders of the system inside those (Startup,
// Administrative Tools), which are never the application's.
std::vector<std::u16string> desktopFolders();
std::vector<std::u16string> programsFolders();
std::vector<std::u16string> shellFoldersInPrograms();

}  // namespace averlune
