#pragma once
// Files that a later elevated run trusts (the uninstaller, its language copy, its log): written
// fresh with a protected DACL (guards/protected_dacl_win.h: Administrators and SYSTEM full control,
// Users read and execute, nothing inherited from the folder), never rewritten in place. A file of
// the same name that was there before is replaced by a rename, so whatever DACL or content it had
// cannot survive, and a hard link at the name keeps its other file unchanged; since Users may not
// write or delete the new file, a folder that standard users can modify gives them no way to
// change it.
//
// The caller holds the folder, checked on its handle (install/held_folders_win.h): the file is
// created and renamed relative to that handle, never by a path parsed again. Windows edge only.
#include <string>

#include "base/owned_handle_win.h"

namespace averlune {

// Writes `bytes` under a new name in `folder` with the protected DACL, then renames it over
// `name` (guards/link_free_files_win.h). The open handle (write access, at the end of the file) on
// success, for more bytes to follow; empty, with `name` as it was and no new file left, on
// failure.
OwnedHandle writeProtectedFile(HANDLE folder, const std::u16string& name, const std::string& bytes);

}  // namespace averlune
