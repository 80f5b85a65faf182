#pragma once
// What the two Browse buttons of the folder pages make of a folder the user picks: where the
// folder dialog starts, how the dialog's answer is completed, and the text the page's field then
// holds. The dialogs themselves are the Windows edge's (folder_dialog_win.h).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "guards/refused_app_folder.h"

namespace averlune {

// The folder the application folder dialog starts at, from the Program Files folder: at most 259
// characters, and without a closing "\" unless it is a drive root ("C:\" keeps it).
std::u16string browseStartFolder(const std::u16string& programFiles);

// The application folder dialog's answer from the picked item's file-system path: the path with a
// closing "\", or the empty text for an item that has none (a virtual folder such as the computer
// itself), which the page treats like a cancelled dialog.
std::u16string pickedFolder(const std::u16string& itemPath);

// The start menu folder dialog's answer: the path, with a closing "\" when it names an existing
// folder (`isFolder`); the empty text stays empty.
std::u16string pickedStartMenuFolder(const std::u16string& itemPath, bool isFolder);

// The application folder field after a pick: the picked folder (ending in "\"), then Company and
// "\" when Company is not empty, then Appname; no closing "\".
std::u16string appFolderFromPick(const std::u16string& picked, const std::u16string& company,
                                 const std::u16string& appName);

// The start menu folder field after a pick: the picked folder without its first
// `startMenuBaseLength` characters (the start menu base it lies in, cut by count and not
// compared), then Company and "\" when Company is not empty, then Appname. A pick shorter than
// the base keeps nothing of itself.
std::u16string startMenuFolderFromPick(const std::u16string& picked, std::size_t startMenuBaseLength,
                                       const std::u16string& company, const std::u16string& appName);

// True when Next may not leave the application folder page with `fieldText` (as typed): the setup
// writes an uninstaller (`uninstaller` is 1) and that uninstaller would refuse the folder, so the
// installation could never be removed. Without an uninstaller nothing is ever removed from it, and
// the machine's folders are not even asked for.
bool refusesAppFolderField(const std::u16string& fieldText, std::int32_t uninstaller,
                           const std::function<std::vector<ProtectedFolder>()>& protectedFolders,
                           const FolderIdLookup& folderId);

// The same rule for a run that installs into `installDir` (the script's, or /D=) without showing
// the folder page: a silent run, or a wizard whose script switches the page off
// (`changeApplicationFolder` 0). True when that run must end before anything is written, as the
// user could not choose another folder. A wizard that shows the page leaves the rule to its Next.
bool refusesUnaskedAppFolder(const std::u16string& installDir, bool silent, std::int32_t changeApplicationFolder,
                             std::int32_t uninstaller,
                             const std::function<std::vector<ProtectedFolder>()>& protectedFolders,
                             const FolderIdLookup& folderId);

}  // namespace averlune
