#include "uninstaller/run_uninstaller_win.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "config/desktop_start_win.h"
#include "config/dll_search_win.h"
#include "config/own_file_win.h"
#include "config/owned_handle_win.h"
#include "config/protected_folders_win.h"
#include "config/sha256_win.h"
#include "config/wide_text_win.h"
#include "uninstaller/command_line.h"
#include "uninstaller/link_free_handles_win.h"
#include "uninstaller/log_digest_win.h"
#include "uninstaller/removal_system_win.h"
#include "uninstaller/self_delete_batch_win.h"
#include "uninstaller/uninstall_folders_win.h"
#include "uninstaller/uninstall_run.h"
#include "uninstaller/uninstall_window_win.h"

namespace averlune {
namespace {

// The folder of the uninstaller's own file, ending in "\", in its long form (the log's header
// names it so, whatever form it was started by); empty when the system cannot name it.
std::u16string ownFolder() {
  std::u16string own = ownFilePath();
  wchar_t longForm[MAX_PATH] = {};
  const DWORD length = GetLongPathNameW(wide(own), longForm, MAX_PATH);
  if (length > 0 && length < MAX_PATH) own = fromWide(longForm, length);
  const std::size_t separator = own.find_last_of(u'\\');
  return separator == std::u16string::npos ? std::u16string() : own.substr(0, separator + 1);
}

UninstallSystem windowsUninstallSystem(UninstallWindow& window, const std::u16string& folder) {
  UninstallSystem system;
  system.ownFolder = folder;
  system.openLanguageCopy = [](KeyValueFile& file) { return open(file, kUninstallLanguageName); };
  system.openLog = [](LineListFile& file) { return open(file, kUninstallLogName); };
  system.deleteLogAndLanguageCopy = [] {
    DeleteFileW(wide(kUninstallLogName));  // what cannot be deleted stays with the application folder
    DeleteFileW(wide(kUninstallLanguageName));
  };
  // Held until the process ends: the removal pass works inside these folders.
  auto held = std::make_shared<std::vector<OwnedHandle>>();
  system.holdFolderWithoutLinks = [held](const std::u16string& path) { return holdFolderWithoutLinks(path, *held); };
  system.protectedFolders = protectedFolders();
  system.folderId = folderIdentity;
  system.desktopFolders = desktopFolders();
  system.programsFolders = programsFolders();
  system.shellFolders = shellFoldersInPrograms();
  system.removal = windowsRemovalSystem();
  system.logDigest = sha256Hex;
  system.storedLogDigest = storedLogDigest;
  system.forgetLogDigest = forgetLogDigest;
  auto owner = [&window] { return window.window.get(); };
  system.showError = [owner](const std::u16string& title, const std::u16string& text) {
    MessageBoxW(owner(), wide(text), wide(title), MB_OK | MB_ICONERROR);
  };
  system.askYesNo = [owner](const std::u16string& title, const std::u16string& text) {
    return MessageBoxW(owner(), wide(text), wide(title), MB_YESNO | MB_ICONQUESTION) == IDYES;
  };
  system.showMessage = [owner](const std::u16string& title, const std::u16string& text) {
    MessageBoxW(owner(), wide(text), wide(title), MB_OK);
  };
  system.runWithWindow = [&window](const UninstallWindowContent& content, const RemovalWork& work) {
    return runRemovalWithWindow(window, content, work);
  };
  system.hideWindow = [owner] {
    if (owner()) ShowWindow(owner(), SW_HIDE);
  };
  system.openWebAddress = [](const std::u16string& address) {
    // Opened in the browser, never started as a program, and as the desktop's user; not waited
    // for. The uninstaller keeps no log to say which way it went.
    DesktopStart start;
    start.file = address;
    startOnDesktop(start);
  };
  system.writeSelfDeleteBatch = writeSelfDeleteBatch;
  return system;
}

}  // namespace

int runUninstaller() {
  restrictDllSearchToSystemFolder();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell wants COM on the thread that opens the web site and starts the batch.
  const ComInitialization com;
  // Its folder becomes the current folder: the two files are opened by their bare names there.
  const std::u16string folder = ownFolder();
  if (!folder.empty()) SetCurrentDirectoryW(wide(folder));

  UninstallWindow window;
  return runUninstallSteps(windowsUninstallSystem(window, folder), isSilentRequest(fromWide(GetCommandLineW())));
}

}  // namespace averlune
