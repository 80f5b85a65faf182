#pragma once
// Which records of an uninstall log the uninstaller carries out. The log is input: it lies in the
// application folder, which ordinary users may be able to write to, while the uninstaller runs
// with administrator rights. So files and folders are removed only where the setup puts them
// (inside the application folder, its links on the desktops and its start menu folder), the key
// only of the application's own uninstall entry, values only from a log that matched its digest,
// and a log whose application folder is a folder of the system is refused as a whole.
#include <string>
#include <vector>

#include "config/refused_app_folder.h"

namespace averlune {

// True when `appFolder` from a log's header names `ownFolder`, the folder that holds the
// uninstaller and the log, as text: letter case, "/" for "\" and trailing dots and spaces of its
// parts aside. The log is read from its own folder, so a header naming another folder was not
// written by the setup that put it there. Identity on disk does not count: a link in the header's
// path could be turned to another folder while the question is up.
bool isOwnAppFolder(const std::u16string& appFolder, const std::u16string& ownFolder);

// What a log may remove, besides what lies inside the application folder: it holds what the setup
// writes outside it, and no more.
struct RemovalScope {
  std::u16string appName;    // from the log's header: its key record names this entry only
  std::u16string appFolder;  // from the log's header, accepted by isRefusedAppFolder and isOwnAppFolder
  std::vector<std::u16string> desktopFolders;   // this user's and all users' desktops
  std::vector<std::u16string> programsFolders;  // this user's and all users' start menu Programs
  // Folders of the system inside the Programs folders (Startup, Administrative Tools), by full
  // path as the system names them; the groups Windows keeps there by name (Startup, Accessories,
  // System Tools, Windows PowerShell, ...) count as such folders too.
  std::vector<std::u16string> shellFolders;
  // The log matched the digest in the uninstall entry: only then are its value records carried
  // out, since a value record may name any value of any root.
  bool valuesAllowed = false;
};

// Where a file or folder record's path lies and how the remover reaches it: from `root` (a folder
// ending in "\", the application folder or one of the shortcut folders) down through `parts`,
// each a plain name, opened one after the other without following a link. `allowed` is true for:
// - a file or folder strictly inside the application folder;
// - a file record of a ".lnk" file directly in a desktop folder, or in a start menu folder of the
//   application: the Programs folder itself (where the setup puts links when the user cleared the
//   folder text) or any folder below it whose outermost part is no shell folder;
// - a folder record of a folder below a Programs folder whose outermost part is no shell folder
//   (the setup records the folder text the user typed, "Group\Sub\" included).
// Paths must be plain relative paths below their folder's text (letter case aside): no drive or
// stream colon, no part that is empty or made only of dots and spaces ("..", ".", ". ": Windows
// reads them as the folder above or the same folder), no character that no path can hold.
struct RecordPlace {
  bool allowed = false;
  std::u16string root;
  std::vector<std::u16string> parts;
};
RecordPlace placeOfRecordPath(const std::u16string& path, bool folderRecord, const RemovalScope& scope);

// True for a key record that names the uninstall entry of `appName`: the root name
// "HKEY_LOCAL_MACHINE" and the uninstall key base followed by `appName` (letter case aside, one
// leading and one trailing "\" allowed), `appName` not empty and without "\".
bool isRemovableUninstallKey(const std::u16string& rootName, const std::u16string& subKey,
                             const std::u16string& appName);

}  // namespace averlune
