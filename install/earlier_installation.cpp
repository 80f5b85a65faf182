#include "install/earlier_installation.h"

#include "base/contained_path.h"
#include "base/folder_key.h"
#include "base/path_text.h"

namespace averlune {
namespace {

// The folder of the program an UninstallString names, ending in "\": the text between its first
// two quotes when it starts with one, else the whole text; empty when no folder and file name are
// left. Arguments after an unquoted path go with the file name; arguments holding a "\" leave a
// folder that the checks refuse or that names no folder.
std::u16string uninstallerFolder(const std::u16string& command) {
  std::u16string path = command;
  if (!path.empty() && path.front() == u'"') {
    const std::size_t closing = path.find(u'"', 1);
    if (closing == std::u16string::npos) return {};
    path = path.substr(1, closing - 1);
  }
  const std::size_t separator = path.find_last_of(u"\\/");
  if (separator == std::u16string::npos || separator + 1 == path.size()) return {};
  return path.substr(0, separator + 1);
}

std::u16string usableAppFolder(const std::u16string& folder, const std::u16string& scriptFolder,
                               const std::function<std::vector<ProtectedFolder>()>& protectedFolders,
                               const FolderIdLookup& folderId) {
  // The text alone first: a relative or malformed value is never looked up on the disk.
  if (folder.empty() || isRefusedAppFolder(folder, {}, nullptr)) return {};
  // Most upgrades find the script's own folder, which the run judges anyway: proposing it again
  // would change nothing, and the start-up is spared the disk.
  if (folderKey(folder) == folderKey(scriptFolder)) return {};
  // A folder that is gone holds no installation to replace: the script's folder is the better
  // start, and the machine's protected folders need not be asked for (the start-up waits for them).
  if (!folderId(folder)) return {};
  if (isRefusedAppFolder(folder, protectedFolders(), folderId)) return {};
  return addBackslash(folder);
}

bool isStartMenuFolderText(const std::u16string& text) {
  return text.empty() || (!hasForbiddenPathCharacter(text) && isContainedRelativePath(text));
}

}  // namespace

EarlierFolders earlierFolders(const EarlierEntry& entry, const std::u16string& scriptFolder,
                              const std::function<std::vector<ProtectedFolder>()>& protectedFolders,
                              const FolderIdLookup& folderId) {
  EarlierFolders earlier;
  // An entry that holds InstallLocation was written by a setup that knew it; its UninstallString
  // is then no second opinion.
  if (entry.installLocation && !entry.installLocation->empty()) {
    earlier.appFolder = usableAppFolder(*entry.installLocation, scriptFolder, protectedFolders, folderId);
  } else if (entry.uninstallString) {
    earlier.appFolder =
        usableAppFolder(uninstallerFolder(*entry.uninstallString), scriptFolder, protectedFolders, folderId);
  }
  if (entry.shortcutFolder && isStartMenuFolderText(*entry.shortcutFolder)) {
    earlier.startMenuFolder = entry.shortcutFolder;
  }
  return earlier;
}

void proposeFolders(SetupOptions& options, const std::u16string& appFolderSwitch, const EarlierFolders& earlier) {
  if (!appFolderSwitch.empty()) {
    options.InstallDir = appFolderSwitch;
  } else if (!earlier.appFolder.empty()) {
    options.InstallDir = earlier.appFolder;
  }
  if (earlier.startMenuFolder) options.ShortcutFolder = *earlier.startMenuFolder;
}

}  // namespace averlune
