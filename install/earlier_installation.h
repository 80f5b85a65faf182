#pragma once
// An earlier installation of the application, as its uninstall entry tells it, and the folders a
// new run starts with. The application is known by its entry's name (Appname): when a setup of
// it ran before, the wizard's folder pages and a silent run start from where that one installed,
// so that an upgrade replaces the copy the entry names instead of leaving it behind with no entry.
//
// Only the entry under HKEY_LOCAL_MACHINE is read: only administrators can write it. Its values
// are still judged like any folder the user could type, since a value edited by hand, or written
// by another program under the same name, may name anything.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/setup_script.h"
#include "guards/refused_app_folder.h"

namespace averlune {

// The entry values that describe where the earlier installation went; nothing for a value the
// entry does not hold.
struct EarlierEntry {
  std::optional<std::u16string> installLocation;  // InstallLocation: the application folder
  // UninstallString: the uninstaller's path, quoted or not. Setups that wrote no InstallLocation
  // wrote the uninstaller into the application folder, so its folder is that folder.
  std::optional<std::u16string> uninstallString;
  std::optional<std::u16string> shortcutFolder;  // ShortcutFolder: the start menu folder field as chosen
};

// The folders an earlier installation hands on; empty / nothing where it hands on none. The
// machine's protected folders are asked for only when the entry names a folder that exists.
struct EarlierFolders {
  // The application folder ending in "\": from InstallLocation, else the folder of
  // UninstallString (an empty InstallLocation counts as none). Empty when the one read names no
  // full path that still is a folder and that the uninstaller would accept (isRefusedAppFolder),
  // and when it is the script's folder (`scriptFolder`, as Windows reads paths): the run starts
  // there anyway.
  std::u16string appFolder;
  // The start menu folder field: a path relative to the start menu base that stays inside it, or
  // the empty text (links straight into the base), as a user may type it.
  std::optional<std::u16string> startMenuFolder;
};

EarlierFolders earlierFolders(const EarlierEntry& entry, const std::u16string& scriptFolder,
                              const std::function<std::vector<ProtectedFolder>()>& protectedFolders,
                              const FolderIdLookup& folderId);

// The folders the run starts with, put into the options the wizard's pages and a silent run read:
// InstallDir becomes /D= when it was given (`appFolderSwitch` not empty), else the earlier
// application folder when there is one, else stays the script's. ChangeApplicationFolder 0 does
// not keep the script's folder over the earlier one: the setup would otherwise put a second copy
// beside the one the entry names. ShortcutFolder becomes the earlier start menu folder when there
// is one.
void proposeFolders(SetupOptions& options, const std::u16string& appFolderSwitch, const EarlierFolders& earlier);

}  // namespace averlune
