#pragma once
#include "base/owned_handle_win.h"

namespace averlune {

// The name of the instance lock shared by every setup of the product in one Windows logon.
inline constexpr char16_t kInstanceLockName[] = u"AV";

enum class InstanceLockResult {
  acquired,          // this run owns the lock now; `lock` holds it until the run ends
  heldByAnotherRun,  // another run holds it, or it cannot be had at all; `lock` stays empty
};

// Takes the named lock that keeps two setup runs of one Windows logon apart. Whoever gets
// anything but `acquired` must end the run without touching the other run's work.
InstanceLockResult acquireInstanceLock(const char16_t* name, OwnedMutex& lock);

}  // namespace averlune
