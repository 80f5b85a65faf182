#include "wizard/finish_plugin_win.h"

#include <windows.h>

#include "base/file_bytes.h"
#include "base/owned_handle_win.h"
#include "base/wide_text_win.h"
#include "wizard/plugin_exports.h"

namespace averlune {

namespace {

// The plug-in's own folder (the private work folder) and the system folder supply what it
// imports; the setup's folder and the current folder do not. Systems without the 2011 loader
// update know no such flags and refuse them as invalid; there the plug-in's folder still comes
// first in the search for what it imports.
HMODULE loadPlugin(const std::u16string& path) {
  const HMODULE plugin =
      LoadLibraryExW(wide(path), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (plugin || GetLastError() != ERROR_INVALID_PARAMETER) return plugin;
  return LoadLibraryExW(wide(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void callFinishPlugin(const std::u16string& path) {
  const OwnedModule plugin(loadPlugin(path));
  if (!plugin) return;
  // The names come from the file, not from the loaded image: the loader checks nothing of the
  // export directory, and the file can be read with every bound checked.
  std::string image;
  if (!readFileBytes(path, image)) return;
  for (const std::string& name : pluginExportNames(image)) {
    // Called without arguments; what it returns is of no interest. Caller or callee clean-up of
    // the stack makes no difference for a call without arguments.
    using PluginFunction = void (*)();
    const auto function =
        reinterpret_cast<PluginFunction>(reinterpret_cast<void*>(GetProcAddress(plugin.get(), name.c_str())));
    if (function) function();
  }
}

}  // namespace averlune
