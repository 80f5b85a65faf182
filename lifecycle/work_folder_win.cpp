#include "lifecycle/work_folder_win.h"

#include <windows.h>

#include "guards/link_free_files_win.h"
#include "base/path_text.h"
#include "guards/protected_dacl_win.h"
#include "base/temporary_names_win.h"

namespace averlune {
namespace {

// Elevated: the token's Administrators group is enabled (a filtered token holds it for denying
// only). A folder for Administrators alone would lock out a run that is not.
bool runsElevated() {
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  BOOL member = FALSE;
  return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
         CheckTokenMembership(nullptr, administrators, &member) && member;
}

}  // namespace

bool makeWorkFolder(std::u16string& workFolder, OwnedHandle& held) {
  const std::u16string temporary = temporaryFolder();
  // Without it the path would be relative and the work folder would land next to the setup.
  if (temporary.empty()) {
    workFolder.clear();
    return false;
  }
  const std::u16string name = newGuidText();
  workFolder = temporary + name + u"\\";
  // The temporary folder is the user's own, links on its path included.
  const OwnedHandle parent = openTrustedFolder(temporary);
  OwnedSecurityDescriptor security;
  if (runsElevated()) {
    security = protectedSecurity(ProtectedDacl::privateFolder);
    if (!security) return false;
  }
  held = createLinkFree(parent.get(), name, NewItem::privateFolder, security.get());
  return static_cast<bool>(held);
}

void removeWorkFolder(OwnedHandle& held, const std::u16string& folder) {
  if (!held) return;
  removeFolderTree(held.get(), addBackslash(folder));
  held.reset();  // the folder goes with its last handle
}

}  // namespace averlune
