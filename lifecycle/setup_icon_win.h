#pragma once
#include <string>

#include "base/owned_handle_win.h"

namespace averlune {

// Loads the setup icon from workFolder + "icon.dat". When that is missing, empty or a folder, the
// built-in icon file is written there first. A picture larger than 48 pixels in both directions is
// scaled to 48 x 48. Result: the icon, or an empty holder when icon.dat is not a loadable icon.
OwnedIcon loadSetupIcon(const std::u16string& workFolder);

}  // namespace averlune
