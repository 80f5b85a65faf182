#pragma once
// The names the finish plug-in's functions are called by, read from the plug-in file's export
// directory. The file comes from the setup's author and is read as untrusted bytes: nothing in it
// can make this read outside `image`, loop without end or allocate more than the file's size.
#include <string>
#include <string_view>
#include <vector>

namespace averlune {

// The exported names of a Windows library file (PE32 or PE32+, as stored on disk), one per export
// that has a name, in the order of the export address table. An export with several names is
// listed by the last of them in the name table, and left out when that name cannot be read whole
// (cut off, or longer than 4095 bytes). A name is listed once even when the table repeats it, and
// exports whose address slot is empty are left out, since looking them up would give no function
// to call. Anything that is no library, has no export directory, or whose export tables the file
// does not hold in full, gives no names.
std::vector<std::string> pluginExportNames(std::string_view image);

}  // namespace averlune
