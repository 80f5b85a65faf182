#pragma once
// What one installation run writes through: the folders it holds (install/held_folders_win.h), the
// uninstall log, which the main thread closes when the user cancels, and the uninstaller it writes.
#include <string>

#include "install/held_folders_win.h"
#include "install/uninstall_log_file_win.h"

namespace averlune {

struct InstallationTarget {
  HeldFolders folders;  // the installation thread's only
  UninstallLogFile log;
  std::string uninstallerImage;  // empty: no uninstaller is written
};

}  // namespace averlune
