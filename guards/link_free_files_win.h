#pragma once
// Never through a link: files and folders opened, created, renamed and removed one path part at a
// time, each part relative to the handle of the folder before it. What the setup writes and the
// uninstaller removes with administrator rights is checked on the very handle it then works
// through, so nobody can swap a folder for a junction between the check and the use, and no name
// is parsed again from the top. A file is replaced by writing a new one and renaming it over the
// old name, never by truncating that name: it may be a hard link to a file elsewhere. Built on the
// NT calls that exist on every Windows the programs accept (the Win32 wrappers for disposition,
// renaming and directory listing came with Vista).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/owned_handle_win.h"

namespace averlune {

// What to open the last part for.
enum class LinkFreeAccess {
  pass,    // a folder on the way: may be passed through, cannot be renamed or removed meanwhile
  remove,  // a file or link to delete; anyone may keep it open
  empty,   // a folder to list and delete: cannot be renamed, removed or replaced meanwhile
  ownFile,  // a file this run wrote, to delete even when read-only: its attributes may be changed
};

// Opens `name` (one part, no separator) inside the folder `parent` without following a link;
// trailing dots and spaces are dropped as Windows drops them from paths. An empty holder when it
// cannot be opened; the system's status then goes to `status` when given.
OwnedHandle openLinkFree(HANDLE parent, const std::u16string& name, LinkFreeAccess access,
                         std::uint32_t* status = nullptr);

// Opens a folder the uninstaller trusts by its full path, for passing through: a drive root, a
// folder the system names (a desktop, a Programs folder), or the uninstaller's own folder once
// holdFolderWithoutLinks holds it. Links on the way are followed: the log did not choose them.
OwnedHandle openTrustedFolder(const std::u16string& folder);

// The attributes of an open file or folder; INVALID_FILE_ATTRIBUTES when they cannot be read.
DWORD attributesOf(HANDLE handle);

// How the item open at `handle` by the name `path` is reached.
enum class LinkState {
  none,
  link,        // the handle is the link itself (Windows): it may be deleted through the handle
  hostLink,    // Wine: the handle went through a host's symbolic link, which only its name shows
  unreadable,  // its attributes cannot be read
};
// Windows tells on the handle opened not to follow links; Wine follows the host's symbolic links
// whatever the handle asks and shows them only in the attributes of their name, so the name is
// asked too. (On Wine that second look is a check by path; on Windows the handle decides.)
LinkState linkState(HANDLE handle, const std::u16string& path);

// Marks an open file, link or empty folder for deletion: it goes when its last handle closes. False
// when the system refuses (a read-only file, a folder that is not empty, a running program's
// image); the system's status then goes to `status` when given.
bool deleteOnClose(HANDLE handle, std::uint32_t* status = nullptr);

// The names in an open folder with their attributes, "." and ".." left out. False when the folder
// cannot be listed.
struct FolderEntry {
  std::u16string name;
  DWORD attributes = 0;
};
bool listFolder(HANDLE folder, std::vector<FolderEntry>& entries);

// What createLinkFree makes, and the handle it answers with.
enum class NewItem {
  // A file for reading, writing, its attributes, renaming and deletion, sharing reads only.
  file,
  // A folder to create in, list and pass through, sharing reading and writing but not deletion:
  // it cannot be renamed or removed while the handle is held.
  folder,
  // The same, and the folder itself may be deleted through the handle (removeFolderTree).
  privateFolder,
};
// Creates `name` (one part) in `folder` as a new item with `security` (null: inherited from the
// folder). Whatever stands at the name, a link included, is never opened: then `nameTaken` is set
// and the holder is empty.
OwnedHandle createLinkFree(HANDLE folder, const std::u16string& name, NewItem item, PSECURITY_DESCRIPTOR security,
                           bool* nameTaken = nullptr);

// Creates a new file in `folder` under a fresh name made from `name` (name + "." + a new GUID),
// as createLinkFree does: the file that is later renamed over `name`. The fresh name goes to
// `newName` when given.
OwnedHandle createUnderNewName(HANDLE folder, const std::u16string& name, PSECURITY_DESCRIPTOR security,
                               std::u16string* newName = nullptr);

// What renameInFolder does with a file that already bears the name.
enum class ExistingName { replace, keep };
// Gives the open `file` (opened with deletion rights) the name `name` in `folder`, which may be
// another folder of the same volume (a running program's own file may be moved so). With
// ExistingName::replace a file of that name is replaced: only the name goes, so a file it was a
// hard link of, or a link's target, stays as it was; with ExistingName::keep a taken name refuses.
// False when refused (nothing moved): a folder of that name, a file of that name in use or
// read-only, another volume; the system's status then goes to `status` when given.
bool renameInFolder(HANDLE file, HANDLE folder, const std::u16string& name, ExistingName existing,
                    std::uint32_t* status = nullptr);

// Removes everything below the folder open at `folder` (reached by the path `path`, ending in
// "\"), then the folder itself, which must be opened for deletion (NewItem::privateFolder). A
// link inside is removed as a link, never followed; read-only files are not forced, and what
// cannot be removed stays with the folders holding it.
void removeFolderTree(HANDLE folder, const std::u16string& path);

}  // namespace averlune

namespace averlune {

// Opens every folder of `folder`'s path below its drive or share root (base/folder_path.h), one part at a time without
// following links, into `held`, which keeps them open: none of them can then be renamed, removed
// or replaced by a link until `held` is let go. False when a part is a link, no folder, or cannot
// be opened (`held` then holds what was opened before it).
bool holdFolderWithoutLinks(const std::u16string& folder, std::vector<OwnedHandle>& held);

// Opens `name` in `parent` (reached by the path `parentPath`, ending in "\") for passing through:
// empty when it is a link, no folder, or cannot be opened.
OwnedHandle openFolderOnTheWay(HANDLE parent, const std::u16string& parentPath, const std::u16string& name);

}  // namespace averlune
