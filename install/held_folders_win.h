#pragma once
// The application folder and the folders below it that the installation writes into, each one
// checked and then held open for the rest of the run.
//
// The elevated setup must never write through a junction, symbolic link, mount point or hard link
// at or below the application folder: one planted in an existing application folder would send
// its files anywhere. Each folder is opened as itself (not followed), checked on that handle to be
// a plain folder, and kept open without delete sharing, so it can be neither renamed nor removed
// and replaced by a link while the run works in it. Files are created, renamed and removed only
// relative to a held folder's handle (guards/link_free_files_win.h), never by a path parsed
// again. (Wine opens a symbolic link of the host as its target whatever the flags say; such a
// link is told by its path's attributes as well.)
//
// Every folder level the run makes gets the machine's DACL (guards/protected_dacl_win.h:
// Administrators and SYSTEM full control, Users read and execute, inherited below); a level that
// was there keeps its own: an existing application folder is the user's choice.
//
// One run's folders belong to the installation thread; the handles close when the record goes.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/owned_handle_win.h"
#include "guards/files_in_use.h"

namespace averlune {

struct HeldFolders {
  std::u16string root;                          // the application folder, ending in "\"
  std::map<std::u16string, OwnedHandle> held;  // by path ending in "\", as the run spells it
};

// Makes `root` (ending in "\") with its missing parents and holds it as the run's application
// folder. The levels that stand already are the user's choice and are reached as they are (a
// link among them followed) up to the last: the application folder itself must be a plain folder;
// the missing levels are made one inside the other. False when it cannot be made or is no plain
// folder (a link, a file).
bool holdApplicationFolder(HeldFolders& folders, const std::u16string& root);

// Makes and holds each folder from the application folder down to `folder` (ending in "\").
// False when `folder` is not at or below the application folder, or when a folder on the way
// cannot be made or is no plain folder.
bool holdFolder(HeldFolders& folders, const std::u16string& folder);

// The held folder the file `path` lies directly in, and the file's name there; a null folder when
// that folder is not held.
struct PlaceInHeldFolder {
  HANDLE folder = nullptr;
  std::u16string name;
};
PlaceInHeldFolder placeInHeldFolder(const HeldFolders& folders, const std::u16string& path);

// A file being written into a held folder: under its own name when the name was free (a fresh
// installation's one call per file), otherwise under a new name until putFileInPlace renames it
// over whatever stood there.
struct FileInHeldFolder {
  OwnedHandle file;  // reading and writing, sharing reads
  HANDLE folder = nullptr;
  std::u16string path;     // as the run spells it
  std::u16string name;
  bool underNewName = false;
  std::u16string newName;  // the name it is written under meanwhile
};

// Files whose names other programs held, each left under its new name beside the old one and
// queued to take its name at the next restart. Only a run nobody can be asked about a held file
// (a silent one) allows it; the wizard asks the user instead. The run that allowed it tells that a
// restart is needed when anything was queued.
struct FilesReplacedAtRestart {
  bool allowed = false;
  std::vector<FileAtRestart> queued;
};

// Creates the file `path` in a held folder as FileInHeldFolder says. Null when the folder is not
// held or no file can be created there.
std::unique_ptr<FileInHeldFolder> createFileInHeldFolder(const HeldFolders& folders, const std::u16string& path);

// Gives a file written under a new name its own name, replacing what stood there: a file, a hard
// link (its other names keep their content) or a link. False when the system refuses (a folder of
// that name, a file in use or read-only); the new file is then removed and the name keeps what it
// had. True at once for a file made under its own name. When `atRestart` allows it, a plain file
// that another program holds is not refused: the new file stays under its new name, its rename is
// queued for the next restart and listed in `atRestart`, and the answer is true.
bool putFileInPlace(FileInHeldFolder& file, FilesReplacedAtRestart* atRestart = nullptr);

// Removes the file `path` in a held folder, read-only or not, through a handle to the file itself
// opened relative to the folder; a link or a folder of that name stays. False when the file could
// not be removed.
bool removeFileInHeldFolder(const HeldFolders& folders, const std::u16string& path);

}  // namespace averlune
