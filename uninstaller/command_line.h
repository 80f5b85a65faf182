#pragma once
// The uninstaller's command line. The only request it knows is "/S": remove without a question, a
// window or a message, for deployment tools with no one at the screen. Anything else is ignored and
// the uninstaller asks as usual.
#include <string>

namespace averlune {

// True when the arguments after the program name (quoted or not, as the system splits it) are
// exactly "/S" or "/s", with spaces or tabs around it allowed.
bool isSilentRequest(const std::u16string& commandLine);

}  // namespace averlune
