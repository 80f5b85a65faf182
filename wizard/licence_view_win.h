#pragma once
// The licence page's rich-edit view: filling it from licence.rtf and opening the links in it.
#include <windows.h>

#include <string>

namespace averlune {

// Streams the file at `path` into `view` as rich text (plain text when it is not). A file that
// cannot be opened leaves the view empty; nothing is reported.
void loadLicenceText(HWND view, const std::u16string& path);

// Acts on a WM_NOTIFY of the wizard window only when it is a press of the left mouse button on a
// link in `licenceView`: the link's text (at most 255 characters) opens as a web or mail address
// (licenceLinkAddress), on the user's desktop (guards/desktop_start_win.h), and never as a program;
// the administrator's log at `logFile` (none when empty) says which way it went. The caller goes
// on with the message's default processing either way.
void onLicenceNotify(HWND licenceView, LPARAM notification, const std::u16string& logFile);

}  // namespace averlune
