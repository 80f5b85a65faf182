#pragma once
// Which records of an uninstall log the uninstaller carries out. The log is input: it lies in the
// application folder, which ordinary users may be able to write to, while the uninstaller runs
// with administrator rights. So files and folders are removed only where the setup puts them
// (inside the application folder, its links on the desktops and its start menu folder), the key
// only of the uninstall entry that names this uninstaller, values only from a log that matched its
// digest, and a log whose application folder is a folder of the system is refused as a whole.
#include <string>
#include <vector>

#include "guards/refused_app_folder.h"

namespace averlune {

// True when `appFolder` from a log's header names `ownFolder`, the folder that holds the
// uninstaller and the log, as text: letter case, "/" for "\" and trailing dots and spaces of its
// parts aside. The log is read from its own folder, so a header naming another folder was not
// written by the setup that put it there. Identity on disk does not count: a link in the header's
// path could be turned to another folder while the question is up.
bool isOwnAppFolder(const std::u16string& appFolder, const std::u16string& ownFolder);

// True when `uninstallString`, an uninstall entry's UninstallString, names the file `ownFile` (a
// full path in its long form): the path alone, in double quotes or without (older setups wrote it
// bare), compared as isOwnAppFolder compares folders. Only administrators can write the entries, so
// the one that names this uninstaller is the log's voucher, whatever the log's header names.
bool namesUninstaller(const std::u16string& uninstallString, const std::u16string& ownFile);

// How far the uninstall entries vouch for a log.
enum class LogTrust {
  // No entry names this uninstaller: only records inside its own folder are carried out; the
  // others are listed as left (links, values) or passed over (the key).
  ownFolderOnly,
  // An older setup's entry names it, without a LogDigest: what a setup writes, except values
  // (listed as left) and start menu groups named like the groups Windows keeps there.
  entryWithoutDigest,
  // The entry's LogDigest matched the log: every record the rules allow.
  digestMatched,
};

// What a log may remove, besides what lies inside the application folder: it holds what the setup
// writes outside it, and no more.
struct RemovalScope {
  // The uninstall entry that names this uninstaller (the key's last part): its key record names
  // this entry only. Empty when none does.
  std::u16string entryName;
  std::u16string appFolder;  // from the log's header, accepted by isRefusedAppFolder and isOwnAppFolder
  std::vector<std::u16string> desktopFolders;   // this user's and all users' desktops
  std::vector<std::u16string> programsFolders;  // this user's and all users' start menu Programs
  // Folders of the system inside the Programs folders (Startup, Administrative Tools), by full
  // path, in their long form, as the system names them.
  std::vector<std::u16string> shellFolders;
  LogTrust trust = LogTrust::ownFolderOnly;
};

// Where a file or folder record's path lies and how the remover reaches it: from `root` (a folder
// ending in "\", the application folder or one of the shortcut folders) down through `parts`,
// each a plain name, opened one after the other without following a link. `allowed` is true for:
// - a file or folder strictly inside the application folder (`inAppFolder`);
// - a file record of a ".lnk" file directly in a desktop folder, or in a start menu folder of the
//   application: the Programs folder itself (where the setup puts links when the user cleared the
//   folder text) or any folder below it but a shell folder;
// - a folder record of a folder below a Programs folder but a shell folder (the setup records the
//   folder text the user typed, "Group\Sub\" and "Games\Tool\" included).
// Under LogTrust::entryWithoutDigest a start menu group whose outermost part bears the name of a
// group Windows keeps (Accessories, Games, ...) is refused as well: nothing vouches that the setup
// made it. The names and the ".lnk" are judged as the path spells them; the remover judges them
// again on the long names it reads through its handles (a short name such as "REPORT~1.LNK" may
// stand for "Report.lnkx").
// Paths must be plain relative paths below their folder's text (letter case aside): no drive or
// stream colon, no part that is empty or made only of dots and spaces ("..", ".", ". ": Windows
// reads them as the folder above or the same folder), no character that no path can hold.
struct RecordPlace {
  bool allowed = false;
  bool inAppFolder = false;
  std::u16string root;
  std::vector<std::u16string> parts;
};
RecordPlace placeOfRecordPath(const std::u16string& path, bool folderRecord, const RemovalScope& scope);

// The path a place stands for: its root and parts, with "\" at the end for a folder.
std::u16string pathOfPlace(const RecordPlace& place, bool folder);

// True for a key record that names the uninstall entry `entryName`: the root name
// "HKEY_LOCAL_MACHINE" and the uninstall key base followed by `entryName` (letter case aside, one
// leading and one trailing "\" allowed), `entryName` not empty and without "\".
bool isRemovableUninstallKey(const std::u16string& rootName, const std::u16string& subKey,
                             const std::u16string& entryName);

}  // namespace averlune
