#pragma once
// Creating a folder with every missing parent, one level at a time.
#include <string>
#include <vector>

namespace averlune {

// The prefixes of `path` that end in "\", shortest first: "C:\Apps\Tool\" gives "C:\",
// "C:\Apps\", "C:\Apps\Tool\". Text after the last "\" is not a folder of the path.
std::vector<std::u16string> folderPathPrefixes(const std::u16string& path);

// Creates each prefix of `path` (see folderPathPrefixes) that does not exist yet; a level that
// cannot be created is passed over. True exactly when `path` names an existing folder afterwards.
// Windows build only (folder_path_win.cpp).
bool makeFolderPath(const std::u16string& path);

// True when `path` names an existing folder. Windows build only.
bool folderExists(const std::u16string& path);

}  // namespace averlune
