#include "wizard/folder_dialog_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/folder_path_win.h"
#include "base/foreground_window_win.h"
#include "base/owned_handle_win.h"
#include "base/wide_text_win.h"
#include "wizard/folder_choice.h"

namespace averlune {
namespace {

constexpr UINT kApplicationFolderFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;  // 0x50

// The dialog's new style hosts shell views, which need a single-threaded apartment on the
// calling thread for as long as the dialog is up. Joining one the thread already has is fine.
class ShellApartment {
 public:
  ShellApartment() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ShellApartment() {
    if (joined_) CoUninitialize();
  }
  ShellApartment(const ShellApartment&) = delete;
  ShellApartment& operator=(const ShellApartment&) = delete;

 private:
  bool joined_;
};

// Selects the starting folder once the dialog says it is ready.
int CALLBACK selectStartFolder(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
  if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, startFolder);
  return 0;
}

// The item's file-system path, or the empty text for an item without one.
std::u16string pathOf(const OwnedShellMemory& item) {
  wchar_t path[MAX_PATH] = {};
  if (!item || !SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(item.get()), path)) return u"";
  return fromWide(path);
}

}  // namespace

std::u16string browseForFolder(const std::u16string& title, const std::u16string& startFolder) {
  const ShellApartment apartment;
  BROWSEINFOW info{};
  info.hwndOwner = ownForegroundWindow();
  info.lpszTitle = wide(title);
  info.ulFlags = kApplicationFolderFlags;
  info.lpfn = selectStartFolder;
  info.lParam = reinterpret_cast<LPARAM>(wide(startFolder));
  const OwnedShellMemory picked(SHBrowseForFolderW(&info));
  return pickedFolder(pathOf(picked));
}

std::u16string browseStartMenuFolder(const std::u16string& title, int csidl) {
  const ShellApartment apartment;
  PIDLIST_ABSOLUTE rootItem = nullptr;
  // A base the system cannot give leaves the dialog unrooted; the page's cut by count still works.
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &rootItem))) rootItem = nullptr;
  const OwnedShellMemory root(rootItem);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = GetActiveWindow();
  info.pidlRoot = static_cast<PCIDLIST_ABSOLUTE>(root.get());
  info.pszDisplayName = displayName;
  info.lpszTitle = wide(title);
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  const OwnedShellMemory picked(SHBrowseForFolderW(&info));
  const std::u16string path = pathOf(picked);
  return pickedStartMenuFolder(path, !path.empty() && folderExists(path));
}

}  // namespace averlune
