#pragma once
// The folders of this machine that the removal rules need: those an application folder may not
// be, those besides it that records may remove from, and folder identities on disk.
#include <string>
#include <vector>

#include "uninstaller/removal_rules.h"

namespace averlune {

// The Windows folder (and everything in it), the system folders, the folder of all user profiles
// (and every profile in it), program files, program data and the shell folders of this user and
// of all users. Folders the system cannot name are left out.
std::vector<ProtectedFolder> protectedFolders();

// Where the setup puts shortcuts, this user's and all users', each ending in "\": the desktops,
// the start menu Programs folders, and the folders of the system inside those (Startup,
// Administrative Tools), which are never the application's.
std::vector<std::u16string> desktopFolders();
std::vector<std::u16string> programsFolders();
std::vector<std::u16string> shellFoldersInPrograms();

// The identity of the folder at `folder`, links followed; nothing for a missing folder or a file.
std::optional<FolderId> folderIdentity(const std::u16string& folder);

}  // namespace averlune
