#pragma once
// Creating a folder with every missing parent, one level at a time, asking whether a folder
// exists or a name is a link, and making a path given on a command line full.
#include <string>

namespace averlune {

// Creates each prefix of `path` (see folderPathPrefixes) that does not exist yet; a level that
// cannot be created is passed over. True exactly when `path` names an existing folder afterwards.
bool makeFolderPath(const std::u16string& path);

// True when `path` names an existing folder.
bool folderExists(const std::u16string& path);

// True when the name `path` (a trailing "\" aside: with one it would name what is behind) is a
// junction or symbolic link by the attributes of the name itself. Wine opens a symbolic link of
// the host as what it points to whatever the flags say, and shows the link only here; on Windows
// the handle opened as itself tells the same, so this only repeats it there.
bool isLinkByName(const std::u16string& path);

// `path` resolved against the current folder as a full path (a command line's relative /LOG= or
// /D= names a place below the folder the program was started from, so this is asked before the
// program changes its current folder); unchanged when it cannot be, empty when empty.
std::u16string fullPath(const std::u16string& path);

}  // namespace averlune
