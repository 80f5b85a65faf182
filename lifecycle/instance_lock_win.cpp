#include "lifecycle/instance_lock_win.h"

#include "config/wide_text_win.h"

namespace averlune {

bool acquireInstanceLock(const char16_t* name, HANDLE& lock) {
  lock = nullptr;
  SetLastError(ERROR_SUCCESS);  // a fresh mutex need not clear an older error
  HANDLE mutex = CreateMutexW(nullptr, TRUE, reinterpret_cast<const wchar_t*>(name));
  const DWORD error = GetLastError();
  if (mutex && error == ERROR_SUCCESS) {
    lock = mutex;
    return false;
  }
  // Another run created the mutex first: the handle we got does not own it.
  if (mutex) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
  return true;
}

void releaseInstanceLock(HANDLE& lock) {
  if (!lock) return;
  ReleaseMutex(lock);
  CloseHandle(lock);
  lock = nullptr;
}

}  // namespace averlune
