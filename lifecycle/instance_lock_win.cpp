#include "lifecycle/instance_lock_win.h"

namespace averlune {

InstanceLockResult acquireInstanceLock(const char16_t* name, OwnedMutex& lock) {
  lock.reset();
  SetLastError(ERROR_SUCCESS);  // a fresh mutex need not clear an older error
  // Taken as this call's handle first: one that does not own the mutex is only closed.
  OwnedHandle mutex(CreateMutexW(nullptr, TRUE, reinterpret_cast<const wchar_t*>(name)));
  if (!mutex || GetLastError() != ERROR_SUCCESS) return InstanceLockResult::heldByAnotherRun;
  lock.reset(mutex.release());
  return InstanceLockResult::acquired;
}

}  // namespace averlune
