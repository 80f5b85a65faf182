#pragma once
// Creating a folder with every missing parent, one level at a time, and asking whether a folder
// exists.
#include <string>

namespace averlune {

// Creates each prefix of `path` (see folderPathPrefixes) that does not exist yet; a level that
// cannot be created is passed over. True exactly when `path` names an existing folder afterwards.
bool makeFolderPath(const std::u16string& path);

// True when `path` names an existing folder.
bool folderExists(const std::u16string& path);

}  // namespace averlune
