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

// The desktop and start menu program folders of this user and of all users, each ending in "\":
// where the setup puts shortcuts.
std::vector<std::u16string> shortcutFolders();

// The identity of the folder at `folder`, links followed; nothing for a missing folder or a file.
std::optional<FolderId> folderIdentity(const std::u16string& folder);

}  // namespace averlune
