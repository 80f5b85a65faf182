#include "config/dll_search_win.h"

#include <windows.h>

namespace averlune {

void restrictDllSearchToSystemFolder() {
  // SetDefaultDllDirectories is missing on systems without the 2011 loader update; look it up
  // rather than import it so the program still starts there.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
                                       reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                 : nullptr;
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Older systems: at least take the current folder out of the search order.
  SetDllDirectoryW(L"");
}

}  // namespace averlune
