#pragma once
// Shell links (.lnk) through the shell's link object.
#include <string>

namespace averlune {

// Creates or replaces the link file `linkPath`, with COM set up for the calling thread around it.
// The properties are set in this order: path, arguments, description, working directory, icon
// location. True when the link was saved.
bool createShortcut(const std::u16string& target, const std::u16string& linkPath, const std::u16string& workingFolder,
                    const std::u16string& arguments, const std::u16string& description,
                    const std::u16string& iconFile, int iconIndex);

}  // namespace averlune
