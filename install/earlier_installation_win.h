#pragma once
// Reading an earlier installation's uninstall entry from the registry.
#include <string>

#include "install/earlier_installation.h"

namespace averlune {

// The values of the uninstall entry named `appName` under HKEY_LOCAL_MACHINE, in the process's
// own registry view (the one the setup writes its entry in); a value that cannot be read is left
// out, so without an entry the record is empty.
EarlierEntry readEarlierEntry(const std::u16string& appName);

}  // namespace averlune
