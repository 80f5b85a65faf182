#pragma once
// Names that come from an archive (cabinet or payload ZIP) are joined to a target folder. A name
// that is absolute, carries a drive, or climbs with ".." would write outside that folder, so such
// names are refused before any file is created.
#include <string_view>

namespace averlune {

// True when `name` (parts separated by "\" or "/") is relative, has no drive or device prefix, and
// has no ".." part, so that folder + name stays inside folder. An empty name is not contained.
bool isContainedRelativePath(std::u16string_view name);

}  // namespace averlune
