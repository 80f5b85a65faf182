#pragma once
// Which Windows a setup runs on, by the names setup authors use in OS.dat, and whether OS.dat
// accepts it.
#include <string>
#include <string_view>

#include "config/key_value_file.h"

namespace averlune {

constexpr unsigned kWorkstationProductType = 1;  // VER_NT_WORKSTATION

// "Windows 2000" ... "Windows Server 2012", or the empty text for a version the product does not
// know. Windows versions after 8 report themselves as 6.2 to this program.
std::u16string windowsVersionName(unsigned major, unsigned minor, unsigned productType);

// True when the open OS.dat (no group selected) gives exactly 1 to the line named `versionName`.
// Names compare as keys do (ASCII case ignored); a version the product does not know (empty name)
// is never accepted.
bool isWindowsVersionAccepted(const KeyValueFile& osFile, std::u16string_view versionName);

}  // namespace averlune
