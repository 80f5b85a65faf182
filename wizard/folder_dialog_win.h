#pragma once
// The system's folder dialog as the two folder pages use it. Both are modal and return when the
// user closes the dialog; main thread only.
#include <string>

namespace averlune {

// The application folder dialog: titled `title`, owned by the foreground window when that is one
// of this process's (otherwise by none), over the whole namespace with an edit box, showing
// `startFolder` (see browseStartFolder) selected. Returns the picked folder ending in "\", or the
// empty text when the user cancels or picks an item without a file-system path.
std::u16string browseForFolder(const std::u16string& title, const std::u16string& startFolder);

// The start menu folder dialog: titled `title`, owned by the active window, rooted at the special
// folder `csidl` so only it and the folders below it can be picked, file-system folders only.
// Returns the picked path (ending in "\" when it names an existing folder), or the empty text
// when the user cancels.
std::u16string browseStartMenuFolder(const std::u16string& title, int csidl);

}  // namespace averlune
