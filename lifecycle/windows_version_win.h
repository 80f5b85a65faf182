#pragma once
#include <string>

namespace averlune {

// Reads workFolder + "OS.dat" and answers whether it accepts the running Windows version. A
// missing OS.dat accepts nothing.
bool checkWindowsVersion(const std::u16string& workFolder);

}  // namespace averlune
