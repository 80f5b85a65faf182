#pragma once
// Desktop and start menu shortcuts: the lists Desktop.dat and Startmenu.dat (records of three
// lines: target, link name, arguments) turned into the links to make and the uninstall records
// to write. The links themselves are made by createShortcut (shortcut_link_win.h).
#include <functional>
#include <string>
#include <vector>

#include "config/line_list_file.h"

namespace averlune {

struct ShortcutRecord {
  std::u16string target;
  std::u16string name;  // the link's file name without ".lnk"
  std::u16string arguments;
};

// One link to make, with the properties it gets.
struct ShortcutLink {
  std::u16string target;
  std::u16string linkPath;
  std::u16string workingFolder;
  std::u16string arguments;
};

// Reads an open list to its end, each line through `expand` as it is read. A record cut short by
// the end of the file takes empty lines.
std::vector<ShortcutRecord> readShortcutList(LineListFile& list,
                                             const std::function<std::u16string(const std::u16string&)>& expand);

// The folder part of a target: up to and including its last "\" or "/" before the end or before
// the first "|", without a leading double quote; empty when there is none.
std::u16string shortcutWorkingFolder(const std::u16string& target);

// The links of `records` in `folder` (ending in "\"), in list order.
std::vector<ShortcutLink> shortcutLinks(const std::vector<ShortcutRecord>& records, const std::u16string& folder);

// Where the start menu links go and which folder the uninstall log records for them.
struct StartMenuPlan {
  std::u16string folder;          // start menu base + folder text, ending in "\"
  std::u16string recordedFolder;  // empty: nothing is recorded
};

// The folder text gets a "\" when it has none. An empty text puts the links straight into the
// base; a text that is empty, absolute, carries a drive or climbs with ".." is never recorded,
// because the uninstaller removes a recorded folder with everything in it.
StartMenuPlan startMenuPlan(const std::u16string& startMenuBase, const std::u16string& folderText);

}  // namespace averlune
