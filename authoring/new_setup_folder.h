#pragma once
// averlune-build --new: the configuration folder of a new setup, complete enough to build and
// check clean as it stands, with every key written out and explained so that an author changes
// values instead of looking up names.
#include <filesystem>
#include <string>

namespace averlune {

// Writes SC.dat, OS.dat, Default.avl, empty Registry.dat, Desktop.dat and Startmenu.dat, and a
// README.txt into `folder`, which is created when missing and must otherwise be empty: nothing an
// author wrote is ever replaced. `appName` (UTF-8, one line) becomes Appname. Empty on success,
// otherwise a one-line reason; files written before a failure stay.
std::string writeNewSetupFolder(const std::filesystem::path& folder, const std::string& appName);

}  // namespace averlune
