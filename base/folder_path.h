#pragma once
// The folders of a path, shortest first or as parts below its root: what folder creation and the
// link-free opening walk one level at a time (base/folder_path_win.h, guards/link_free_files_win.h).
#include <optional>
#include <string>
#include <vector>

namespace averlune {

// The prefixes of `path` that end in "\", shortest first: "C:\Apps\Tool\" gives "C:\",
// "C:\Apps\", "C:\Apps\Tool\". Text after the last "\" is not a folder of the path.
std::vector<std::u16string> folderPathPrefixes(const std::u16string& path);

// A full folder path as its drive or share root (ending in "\", separators as "\") and the names
// of the folders below it, for opening it one part at a time (guards/link_free_files_win.h).
struct FolderParts {
  std::u16string root;
  std::vector<std::u16string> parts;  // at least one
};
// Nothing for a path that is not full, is the root itself, holds a character no name may hold,
// climbs with "..", or has a part made only of dots and spaces (Windows drops those, so such a
// part names the folder it stands in).
std::optional<FolderParts> folderPartsFromRoot(const std::u16string& folder);

}  // namespace averlune
