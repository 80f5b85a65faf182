#pragma once
#include <string>

namespace averlune {

// The full path of this program's own file (the setup's carries the payload container); the empty
// text when the system cannot give it.
std::u16string ownFilePath();

}  // namespace averlune
