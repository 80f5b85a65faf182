#pragma once
// The licence page's rich-edit view: filling it from licence.rtf and opening the links in it.
#include <windows.h>

#include <string>

namespace averlune {

// Streams the file at `path` into `view` as rich text (plain text when it is not). A file that
// cannot be opened leaves the view empty; nothing is reported.
void loadLicenceText(HWND view, const std::u16string& path);

// Acts on a WM_NOTIFY of the wizard window only when it is a press of the left mouse button on a
// link in `licenceView`: the link's text (at most 255 characters) is started as a program, or
// handed to the shell's open when that fails, so web addresses open in the browser. The caller
// goes on with the message's default processing either way.
void onLicenceNotify(HWND licenceView, LPARAM notification);

}  // namespace averlune
