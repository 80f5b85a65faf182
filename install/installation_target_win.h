#pragma once
// What one installation run reads from and writes through: the setup's own file it reads the
// payload from, the folders it holds (install/held_folders_win.h), the uninstall log, which the
// main thread closes when the user cancels, and the uninstaller it writes.
#include <string>

#include "install/held_folders_win.h"
#include "install/uninstall_log_file_win.h"

namespace averlune {

struct InstallationTarget {
  // The setup's own file, held open by the run since its first step; the payload archive is read
  // through duplicates of this handle, never by the file's name. Not owned; null reads nothing.
  HANDLE payloadFile = nullptr;
  HeldFolders folders;  // the installation thread's only
  UninstallLogFile log;
  std::string uninstallerImage;  // empty: no uninstaller is written
  // Whether payload files held by other programs may wait for the next restart, and those that do.
  FilesReplacedAtRestart atRestart;
};

}  // namespace averlune
