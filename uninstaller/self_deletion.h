#pragma once
// What is left of the uninstaller once it has removed everything else: its own file, which cannot
// be deleted while the uninstaller runs. It must not be deleted later by its name in the
// application folder: by then the uninstaller has ended and its holds on the folders are gone,
// and a standard user who can rename the folder, or who keeps the file open to delay the
// deletion, could put a link in the folder's place and have a file of that name elsewhere deleted
// with administrator rights.
//
// So before it ends the uninstaller moves its running file, through its handle, into a new folder
// that only administrators can write, rename or delete (the leftovers' folder, made in
// leftoverFolderParent), and removes the then empty application folder through the handle it
// holds. Only paths inside the leftovers' folder are named afterwards: a command processor started
// by its full path deletes the file once the uninstaller has ended (selfDeleteCommand), and the
// restart after it removes the empty folder (and the file, when the command could not).
#include <string>

namespace averlune {

// The folder to make the leftovers' folder in, ending in "\": the system's temporary folder
// `windowsTemp` (ending in "\") when the application folder is on its drive, otherwise the root of
// the application folder's drive. In either, standard users may make folders of their own but not
// rename or delete anybody else's. Empty when `appFolder` does not begin with a drive letter (a
// share): a running file can be moved only within its own volume.
std::u16string leftoverFolderParent(const std::u16string& appFolder, const std::u16string& windowsTemp);

// The command line for `commandProcessor` (the system's cmd.exe, by its full path) that deletes
// `leftover`, the uninstaller's file in the leftovers' folder, trying again about once a second
// for a minute while the ending uninstaller still runs from it; `ping` (the system's ping.exe, by
// its full path) does the waiting on every Windows version. The registry settings a standard user
// may set for the command processor (AutoRun, delayed expansion, no extensions) are overridden.
// Empty when a path cannot stand between double quotes on a command line (it holds a double
// quote, a "%" or a control character) or is empty: the file then waits for the restart.
std::u16string selfDeleteCommand(const std::u16string& commandProcessor, const std::u16string& leftover,
                                 const std::u16string& ping);

}  // namespace averlune
