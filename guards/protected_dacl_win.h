#pragma once
// The DACLs of what an elevated program makes for the machine: files a later elevated run trusts,
// folders the setup creates, and private folders. Administrators and SYSTEM have full control;
// Users may read and execute where they may at all; nothing is inherited from the folder above,
// so a folder that standard users may modify (any folder made below C:\ inherits that) passes
// them no right. Windows edge only.
#include <windows.h>

#include "base/owned_handle_win.h"

namespace averlune {

enum class ProtectedDacl {
  file,           // Users read and execute
  folderTree,     // Users read and execute; inherited by the files and folders made below
  privateFolder,  // Administrators and SYSTEM only; inherited below
};

namespace owned_detail {
inline void freeLocal(PSECURITY_DESCRIPTOR d) { LocalFree(d); }
}  // namespace owned_detail
using OwnedSecurityDescriptor = Owned<PSECURITY_DESCRIPTOR, owned_detail::freeLocal>;

// A self-relative security descriptor holding the DACL; empty when the system cannot make one.
OwnedSecurityDescriptor protectedSecurity(ProtectedDacl dacl);

}  // namespace averlune
