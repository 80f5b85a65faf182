#include "uninstaller/run_uninstaller_win.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "guards/desktop_start_win.h"
#include "guards/dll_search_win.h"
#include "base/file_bytes.h"
#include "base/folder_path_win.h"
#include "base/log_file_win.h"
#include "base/own_file_win.h"
#include "base/owned_handle_win.h"
#include "guards/protected_folders_win.h"
#include "guards/sha256_win.h"
#include "base/wide_text_win.h"
#include "uninstaller/command_line.h"
#include "guards/link_free_files_win.h"
#include "uninstaller/log_digest_win.h"
#include "uninstaller/removal_system_win.h"
#include "uninstaller/self_deletion_win.h"
#include "uninstaller/uninstall_folders_win.h"
#include "uninstaller/uninstall_run.h"
#include "uninstaller/uninstall_window_win.h"

namespace averlune {
namespace {

// The uninstaller's own file in its long form (the log's header and the uninstall entry name it
// so, whatever form it was started by).
std::u16string ownLongFilePath() {
  std::u16string own = ownFilePath();
  wchar_t longForm[MAX_PATH] = {};
  const DWORD length = GetLongPathNameW(wide(own), longForm, MAX_PATH);
  if (length > 0 && length < MAX_PATH) own = fromWide(longForm, length);
  return own;
}

// The folder of `file`, ending in "\"; empty when it names none.
std::u16string folderOf(const std::u16string& file) {
  const std::size_t separator = file.find_last_of(u'\\');
  return separator == std::u16string::npos ? std::u16string() : file.substr(0, separator + 1);
}

UninstallSystem windowsUninstallSystem(UninstallWindow& window, const std::u16string& file) {
  UninstallSystem system;
  system.ownFile = file;
  system.ownFolder = folderOf(file);
  system.enterOwnFolder = [folder = system.ownFolder] {
    return !folder.empty() && SetCurrentDirectoryW(wide(folder));
  };
  system.readLanguageCopy = [](std::string& bytes) { return readFileBytes(kUninstallLanguageName, bytes); };
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
  system.fileDigest = sha256Hex;
  system.uninstallEntries = uninstallEntries;
  system.storedDigest = storedDigest;
  system.forgetDigests = forgetDigests;
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
    // for.
    DesktopStart start;
    start.file = address;
    startOnDesktop(start);
  };
  system.startSelfDeletion = [held](const std::u16string& appFolder, const std::vector<std::u16string>& deletedAtRestart) {
    startSelfDeletion(appFolder, *held, deletedAtRestart);
  };
  return system;
}

}  // namespace

int runUninstaller() {
  restrictDllSearchToSystemFolder();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell wants COM on the thread that opens the web site.
  const ComInitialization com;
  UninstallWindow window;
  const UninstallSwitches switches = parseUninstallSwitches(fromWide(GetCommandLineW()));
  UninstallSystem system = windowsUninstallSystem(window, ownLongFilePath());
  // Made full before the uninstaller enters its own folder: a relative name names a file in the
  // folder it was started from.
  const std::u16string logFile = fullPath(switches.logFile);
  if (!logFile.empty()) {
    system.note = [logFile](const std::u16string& line) { appendLogLine(logFile, line); };
  }
  const auto note = [&system](const std::u16string& line) {
    if (system.note) system.note(line);
  };
  note(switches.silent ? u"uninstall started, silent: " + system.ownFile : u"uninstall started: " + system.ownFile);
  const auto code = static_cast<unsigned>(runUninstallSteps(system, switches.silent));
  const std::string digits = std::to_string(code);
  note(u"uninstall ended, exit code " + std::u16string(digits.begin(), digits.end()));
  return static_cast<int>(code);
}

}  // namespace averlune
