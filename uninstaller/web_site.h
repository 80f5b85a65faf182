#pragma once
// The web site line of an uninstall log is opened after the closing message. The log may have
// been edited by someone without administrator rights, and the uninstaller has them: so the line
// is only ever opened as a web address in the browser, never started as a program.
#include <string>

namespace averlune {

// True for "http://" or "https://" (letter case aside) followed by at least one character, with no
// space, control character or double quote anywhere.
bool isWebAddress(const std::u16string& text);

}  // namespace averlune
