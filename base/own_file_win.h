#pragma once
#include <string>

#include "base/owned_handle_win.h"

namespace averlune {

// The full path of this program's own file (the setup's carries the payload container); the empty
// text when the system cannot give it.
std::u16string ownFilePath();

// Opens the file at `path` (the program's own, from ownFilePath) for reading, sharing reads only.
// While the handle is open nobody can write, rename or delete the file: a running image may be
// renamed, and a setup that read its file again by its path could then read someone else's
// container under the same name. So the setup opens its own file once, first, and reads it through
// this handle alone. Empty when the file cannot be opened.
OwnedHandle openOwnFile(const std::u16string& path);

}  // namespace averlune
