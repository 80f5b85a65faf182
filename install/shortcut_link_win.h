#pragma once
// Shell links (.lnk) through the shell's link object.
#include <windows.h>

#include <string>

namespace averlune {

// Creates or replaces the link file `linkPath`, initialising COM for the calling thread around it.
// The properties are set in this order: path, arguments, description, working directory, icon
// location. Result: the last shell result (S_OK when the link was saved).
HRESULT createShortcut(const std::u16string& target, const std::u16string& linkPath,
                       const std::u16string& workingFolder, const std::u16string& arguments,
                       const std::u16string& description, const std::u16string& iconFile, int iconIndex);

}  // namespace averlune
