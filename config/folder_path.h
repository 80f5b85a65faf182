#pragma once
// The folders of a path, shortest first: what folder creation walks one level at a time
// (config/folder_path_win.h).
#include <string>
#include <vector>

namespace averlune {

// The prefixes of `path` that end in "\", shortest first: "C:\Apps\Tool\" gives "C:\",
// "C:\Apps\", "C:\Apps\Tool\". Text after the last "\" is not a folder of the path.
std::vector<std::u16string> folderPathPrefixes(const std::u16string& path);

}  // namespace averlune
