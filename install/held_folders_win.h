#pragma once
// The application folder and the folders below it that the installation writes into, each one
// checked and then held open for the rest of the run.
//
// The elevated setup must never write through a junction, symbolic link or mount point at or
// below the application folder: one planted in an existing application folder would send its
// files anywhere. Each folder is opened as itself (not followed), checked on that handle to be a
// plain folder, and kept open without delete sharing, so it can be neither renamed nor removed and
// replaced by a link while files are created in it by name. Files are then created only directly
// in a held folder, and opened as themselves too. (Wine opens a symbolic link of the host as its
// target whatever the flags say; such a link is told by its path's attributes as well.)
//
// One run's folders belong to the installation thread; the handles close when the record goes.
#include <map>
#include <string>

#include "config/owned_handle_win.h"

namespace averlune {

struct HeldFolders {
  std::u16string root;                          // the application folder, ending in "\"
  std::map<std::u16string, OwnedHandle> held;  // by path ending in "\", as the run spells it
};

// Makes `root` (ending in "\") with its missing parents and holds it as the run's application
// folder. False when it cannot be made or is no plain folder (a link, a file).
bool holdApplicationFolder(HeldFolders& folders, const std::u16string& root);

// Makes and holds each folder from the application folder down to `folder` (ending in "\").
// False when `folder` is not at or below the application folder, or when a folder on the way
// cannot be made or is no plain folder.
bool holdFolder(HeldFolders& folders, const std::u16string& folder);

// True when the folder the file `path` names lies directly in is held.
bool isInHeldFolder(const HeldFolders& folders, const std::u16string& path);

// Creates or replaces the file `path` in a held folder for reading and writing (sharing reads),
// like the payload's files: a new file is made; an existing one is replaced by create-always, else
// truncated (create-always refuses a hidden or system file whose attributes it would drop). Null
// when the folder is not held, the file cannot be created, or the name is a link or a folder.
HANDLE createFileInHeldFolder(const HeldFolders& folders, const std::u16string& path);

// Removes the file `path` in a held folder, read-only or not, through a handle to the file itself;
// a link or a folder of that name stays. False when the file could not be removed.
bool removeFileInHeldFolder(const HeldFolders& folders, const std::u16string& path);

}  // namespace averlune
