#pragma once
// Moves an open file into a folder open by handle, under a name of the caller's: neither the
// file's old path nor the folder's path is parsed again, so nothing on either way can be turned
// into a link meanwhile. A running program's own file can be moved so within its volume (while it
// can be neither deleted nor overwritten). Windows edge only.
#include <windows.h>

#include <string>

namespace averlune {

// Moves the file open at `item` (opened with DELETE access) into `folder` as `name` (one plain
// part). Never replaces: false when `name` exists in `folder`, when the two are on different
// volumes, or when the system refuses (nothing has moved then).
bool moveIntoFolder(HANDLE item, HANDLE folder, const std::u16string& name);

}  // namespace averlune
