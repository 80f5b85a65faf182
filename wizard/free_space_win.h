#pragma once
#include <string>

namespace averlune {

// The free-space text of the drive that holds `folder` ("1.5 GB", "ERROR"): asks the system for
// the total free bytes of the folder's first three characters as a drive root, with the
// critical-error box of an empty removable drive switched off during the query.
std::u16string formatFreeSpace(const std::u16string& folder);

}  // namespace averlune
