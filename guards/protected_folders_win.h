#pragma once
// This machine's folders that may never be an application folder, and folder identities on disk.
#include <optional>
#include <string>
#include <vector>

#include "guards/refused_app_folder.h"

namespace averlune {

// The Windows folder (and everything in it), the system folders, the folder of all user profiles
// (and every profile in it), program files, program data and the shell folders of this user and
// of all users. Folders the system cannot name are left out.
std::vector<ProtectedFolder> protectedFolders();

// The identity of the folder at `folder`, links followed; nothing for a missing folder or a file.
std::optional<FolderId> folderIdentity(const std::u16string& folder);

}  // namespace averlune
