#pragma once
// Helpers of the Windows tests that run a wizard inside the test process. The test's thread is
// the wizard's main thread: while it waits for anything it keeps dispatching its messages, since
// the installation thread's reports wait for the main thread to carry them out.
#include <windows.h>

#include <functional>
#include <string>

namespace averlune::wizardtest {

// Dispatches the calling thread's messages until `done` holds or `timeoutMs` has passed. True
// when `done` held.
inline bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Dispatches the calling thread's messages for `milliseconds`.
inline void pumpFor(int milliseconds) {
  pumpUntil([] { return false; }, milliseconds);
}

// Dispatches the calling thread's messages until `thread` has ended. True when it did.
inline bool pumpUntilEnded(HANDLE thread, int timeoutMs = 10000) {
  return pumpUntil([thread] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

// A message box as another thread sees it.
struct ShownBox {
  HWND handle = nullptr;
  HWND owner = nullptr;
  std::wstring title;
  std::wstring text;  // the box's message, from its static text control
};

inline BOOL CALLBACK noteMessageBox(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Waits for a message box (dialog class "#32770") of the thread `threadId`. Call it from a
// helper thread while that thread shows the box.
inline ShownBox waitForBox(DWORD threadId, int timeoutMs = 10000) {
  ShownBox box;
  for (int waited = 0; waited < timeoutMs && !box.handle; waited += 20) {
    EnumThreadWindows(threadId, noteMessageBox, reinterpret_cast<LPARAM>(&box.handle));
    if (!box.handle) Sleep(20);
  }
  if (!box.handle) return box;
  box.owner = GetWindow(box.handle, GW_OWNER);
  wchar_t text[512] = {};
  GetWindowTextW(box.handle, text, 512);
  box.title = text;
  text[0] = 0;
  GetDlgItemTextW(box.handle, 0xFFFF, text, 512);  // the message's static text control
  box.text = text;
  return box;
}

// Presses the box's button with dialog id `id` (IDOK, IDABORT, IDRETRY, IDIGNORE) as a click does.
inline bool pressBoxButton(HWND box, int id) {
  const HWND button = GetDlgItem(box, id);
  return button && PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

}  // namespace averlune::wizardtest
