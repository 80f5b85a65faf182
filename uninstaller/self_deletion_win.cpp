#include "uninstaller/self_deletion_win.h"

#include <windows.h>

#include "base/folder_path.h"
#include "guards/files_in_use_win.h"
#include "guards/link_free_files_win.h"
#include "base/own_file_win.h"
#include "guards/protected_dacl_win.h"
#include "base/path_text.h"
#include "base/temporary_names_win.h"
#include "base/wide_text_win.h"
#include "uninstaller/self_deletion.h"

namespace averlune {
namespace {

// The uninstaller's file takes this name in the leftovers' folder: the command then holds no
// character of the author's choosing.
constexpr char16_t kLeftoverName[] = u"uninstall.exe";

using FolderQuery = UINT(WINAPI*)(LPWSTR, UINT);

std::u16string folderFrom(FolderQuery query) {
  wchar_t path[MAX_PATH] = {};
  const UINT length = query(path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::u16string() : fromWide(path, length);
}

// The name of the uninstaller's own file in its folder, in its long form (the folder lists it so,
// whatever form it was started by).
std::u16string ownFileName() {
  std::u16string own = ownFilePath();
  wchar_t longForm[MAX_PATH] = {};
  const DWORD length = GetLongPathNameW(wide(own), longForm, MAX_PATH);
  if (length > 0 && length < MAX_PATH) own = fromWide(longForm, length);
  const std::size_t separator = own.find_last_of(u'\\');
  return separator == std::u16string::npos ? std::u16string() : own.substr(separator + 1);
}

// Makes `path` new (never an existing folder: its name is a new GUID, and whatever stood there
// first would keep its own DACL) for Administrators and SYSTEM alone, inherited by what is moved
// or made in it, and opens it for passing through.
OwnedHandle makeAdminOnlyFolder(const std::u16string& path) {
  const OwnedSecurityDescriptor security = protectedSecurity(ProtectedDacl::privateFolder);
  if (!security) return {};
  SECURITY_ATTRIBUTES attributes{sizeof attributes, security.get(), FALSE};
  return CreateDirectoryW(wide(path), &attributes) ? openTrustedFolder(path) : OwnedHandle();
}

// Removes the application folder, reached through its held parent, when it is a real folder and
// empty now; when all it still holds waits for the restart, it is queued to follow.
void removeEmptyFolder(HANDLE parent, const std::u16string& name, const std::u16string& path,
                       const std::vector<std::u16string>& deletedAtRestart) {
  const OwnedHandle folder = openLinkFree(parent, name, LinkFreeAccess::empty);
  if (!folder || linkState(folder.get(), path) != LinkState::none ||
      !(attributesOf(folder.get()) & FILE_ATTRIBUTE_DIRECTORY)) {
    return;  // someone put something else in its place: not ours
  }
  if (deleteOnClose(folder.get()) || deletedAtRestart.empty()) return;  // refused while anything is left in it
  deleteFolderAtRestart(folder.get(), path, deletedAtRestart);  // refused: it stays with what it holds
}

void startHidden(const std::u16string& program, const std::u16string& commandLine, const std::u16string& folder) {
  std::u16string line = commandLine;  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  // The program's full path as the application name: nothing is searched for, no file association
  // is asked.
  if (CreateProcessW(wide(program), wide(&line[0]), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, wide(folder),
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }  // not started: the restart removes the file
}

}  // namespace

void startSelfDeletion(const std::u16string& appFolder, std::vector<OwnedHandle>& heldFolders,
                       const std::vector<std::u16string>& deletedAtRestart) {
  const std::optional<FolderParts> place = folderPartsFromRoot(appFolder);
  const std::u16string imageName = ownFileName();
  const std::u16string system = folderFrom(GetSystemDirectoryW);
  const std::u16string windows = folderFrom(GetSystemWindowsDirectoryW);
  if (!place || heldFolders.size() != place->parts.size() + 1 || imageName.empty() ||
      system.empty()) {
    return;
  }
  // The current folder is held open by this process and would keep the application folder.
  SetCurrentDirectoryW(wide(system));

  const std::u16string windowsTemp = windows.empty() ? std::u16string() : addBackslash(windows) + u"Temp\\";
  const std::u16string parent = leftoverFolderParent(appFolder, windowsTemp);
  const std::u16string guid = newGuidText();
  if (parent.empty() || guid.empty()) return;
  const std::u16string leftoverFolder = parent + guid;
  const std::u16string leftover = leftoverFolder + u"\\" + kLeftoverName;
  {
    OwnedHandle leftovers = makeAdminOnlyFolder(leftoverFolder);
    if (!leftovers) return;
    const OwnedHandle image = openLinkFree(heldFolders.back().get(), imageName, LinkFreeAccess::remove);
    const bool moved = image && linkState(image.get(), addBackslash(appFolder) + imageName) == LinkState::none &&
                       !(attributesOf(image.get()) & FILE_ATTRIBUTE_DIRECTORY) &&
                       renameInFolder(image.get(), leftovers.get(), kLeftoverName, ExistingName::keep);
    if (!moved) {  // held open by someone without sharing its deletion: it stays, and so does the folder
      leftovers.reset();
      RemoveDirectoryW(wide(leftoverFolder));  // empty, and nobody else may change it
      return;
    }
  }
  // The folder's own hold shares no deletion, so it goes; the folder is opened again through its
  // parent, which stays held, and without following a link.
  heldFolders.pop_back();
  removeEmptyFolder(heldFolders.back().get(), place->parts.back(), addBackslash(appFolder), deletedAtRestart);

  // The leftovers' folder stays until the restart, so that nobody can put a link under its name
  // before the restart deletes inside it. Queued in this order, the file goes first; the command
  // runs even when the queue refuses.
  MoveFileExW(wide(leftover), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExW(wide(leftoverFolder), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  const std::u16string command = selfDeleteCommand(system + u"\\cmd.exe", leftover, system + u"\\PING.EXE");
  if (!command.empty()) startHidden(system + u"\\cmd.exe", command, system);
}

}  // namespace averlune
