#pragma once
#include <string>
#include <vector>

#include "base/owned_handle_win.h"

namespace averlune {

// The uninstaller's last step (self_deletion.h): moves its own file out of `appFolder` into a
// new folder only administrators may change, removes `appFolder` if it is empty, and leaves the
// file and that folder to a hidden command processor and to the next restart. `heldFolders` are
// the handles that hold `appFolder`'s path from its root (holdFolderWithoutLinks), the folder
// itself last; every part is reached through them, never by path, and the last is let go so that
// the folder can be removed. When what keeps the folder is all in `deletedAtRestart` (queued for
// the next restart by the removal pass), the folder is queued to follow it. Failures are silent:
// what could not be moved or removed stays where it is, and nothing is ever deleted by a path in
// the application folder after this returns, but for what the restart's queue names.
void startSelfDeletion(const std::u16string& appFolder, std::vector<OwnedHandle>& heldFolders,
                       const std::vector<std::u16string>& deletedAtRestart);

}  // namespace averlune
