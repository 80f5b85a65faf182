#pragma once
// Files that a later elevated run trusts (the uninstaller, its language copy, its log): written
// fresh with a protected DACL (Administrators and SYSTEM full control, Users read and execute,
// nothing inherited from the folder), never rewritten in place. A file of the same name that was
// there before is replaced by a rename, so whatever DACL or content it had cannot survive; and
// since Users may not write or delete the new file, a folder that standard users can modify (any
// folder made below C:\ inherits that) gives them no way to change it.
//
// The caller checks the folder first (install/held_folders_win.h): the file is created by name in
// it. Windows edge only.
#include <string>

#include "config/owned_handle_win.h"

namespace averlune {

// Writes `bytes` under a temporary name in the folder of `path` with the protected DACL, then
// renames it over `path` through its own handle. The open handle (write access, at the end of the
// file) on success, for more bytes to follow; empty, with `path` as it was and no temporary file
// left, on failure.
OwnedHandle writeProtectedFile(const std::u16string& path, const std::string& bytes);

}  // namespace averlune
