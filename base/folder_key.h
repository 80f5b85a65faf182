#pragma once
// Full paths read as Windows reads them, for comparing folders by their text: the setup's folder
// page and the uninstaller judge an application folder by the same reading.
#include <cstddef>
#include <string>
#include <string_view>

namespace averlune {

inline bool isPathSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// True for a character no Windows path holds. In a log it can only be a quote meant to break out
// of the batch file's quoting, a wildcard meant for a folder search, or a line break.
bool hasForbiddenPathCharacter(std::u16string_view text);

// Length of the root of a full path: 3 for "X:\", through the separator after the share for
// "\\server\share\". 0 for anything else: relative paths, "X:name", device paths ("\\?\", "\\.\")
// and a share without a separator after it.
std::size_t fullPathRootLength(std::u16string_view path);

// The text folders are compared by, as Windows reads a path: "/" as "\", ASCII letters in lower
// case, trailing dots and spaces of each part dropped, "." parts and empty parts dropped, a "\"
// at the end. Empty for a path that is not full or climbs with "..".
std::u16string folderKey(std::u16string_view path);

}  // namespace averlune
