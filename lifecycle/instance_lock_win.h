#pragma once
#include <windows.h>

namespace averlune {

// Takes the named lock that keeps two setup runs of one Windows logon apart. Result: true when
// another run holds it (the caller must end the run; `lock` stays null), false when this run now
// owns it (`lock` holds the owned mutex).
bool acquireInstanceLock(const char16_t* name, HANDLE& lock);

// Releases and closes a lock taken by acquireInstanceLock; a null lock is left alone.
void releaseInstanceLock(HANDLE& lock);

}  // namespace averlune
