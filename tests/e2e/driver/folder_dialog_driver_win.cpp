#include "tests/e2e/driver/folder_dialog_driver_win.h"

#include <shlobj.h>

#include <cstring>
#include <vector>

#include "tests/e2e/driver/window_driver_win.h"

namespace averlune::e2e {
namespace {

// Bytes placed in another process's memory for the time of one message.
class RemoteBytes {
 public:
  RemoteBytes(HWND window, const void* bytes, std::size_t size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process_) return;
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_ && !WriteProcessMemory(process_, address_, bytes, size, nullptr)) release();
  }
  ~RemoteBytes() {
    release();
    if (process_) CloseHandle(process_);
  }
  RemoteBytes(const RemoteBytes&) = delete;
  RemoteBytes& operator=(const RemoteBytes&) = delete;

  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }

 private:
  void release() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    address_ = nullptr;
  }
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

bool holdsFolderTree(HWND dialog) {
  for (const ControlInfo& control : controlsOf(dialog)) {
    if (control.className == L"SysTreeView32") return true;
  }
  return false;
}

bool select(HWND dialog, BOOL isPath, const void* bytes, std::size_t size) {
  const RemoteBytes remote(dialog, bytes, size);
  if (!remote.address()) return false;
  SendMessageW(dialog, BFFM_SETSELECTIONW, isPath, remote.address());
  return true;
}

}  // namespace

HWND waitForFolderDialog(DWORD processId, int timeoutMs) {
  for (int waited = 0;; waited += 50) {
    for (HWND window : topLevelWindows(processId)) {
      if (className(window) == L"#32770" && holdsFolderTree(window)) return window;
    }
    if (waited >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

bool selectFolderInDialog(HWND dialog, const std::wstring& path) {
  return select(dialog, TRUE, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
}

bool selectSpecialFolderInDialog(HWND dialog, int csidl) {
  PIDLIST_ABSOLUTE item = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &item))) return false;
  const std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(item), reinterpret_cast<const BYTE*>(item) + ILGetSize(item));
  CoTaskMemFree(item);
  return select(dialog, FALSE, bytes.data(), bytes.size());
}

std::wstring folderDialogTitleText(HWND dialog) {
  // The first static text of the dialog that is not empty: the title the program passed.
  for (const ControlInfo& control : controlsOf(dialog)) {
    if (control.className == L"Static" && control.visible && !control.text.empty()) return control.text;
  }
  return L"";
}

}  // namespace averlune::e2e
