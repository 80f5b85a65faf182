#pragma once
// The finish plug-in: the author's library that Finish calls before the setup ends.
#include <string>

namespace averlune {

// Loads the library at `path`, calls each of its named exports once, without arguments, in the
// order of its export address table (see pluginExportNames), each returning before the next is
// called, on the calling thread; then unloads it. A file that is missing, no library, or whose
// export tables are damaged is skipped without a word, as is a name that cannot be looked up.
void callFinishPlugin(const std::u16string& path);

}  // namespace averlune
