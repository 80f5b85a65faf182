#pragma once
#include <windows.h>

namespace averlune {

// Restricts where the process loads DLLs from to the system folder. A setup is usually started
// from a downloads folder, and an uninstaller from an application folder that users may write to:
// any DLL left there would otherwise be loaded into an elevated process. Call first, before
// anything can load a library.
//
// This cannot help with what the executable imports: those libraries are loaded before any of our
// code runs, from the program's own folder first unless the system knows them (KnownDLLs). So the
// programs import only those directly (scripts/check-imports.sh) and load every other library
// through loadSystemLibrary.
void restrictDllSearchToSystemFolder();

// Loads the library `name` (a bare file name such as L"winmm.dll") from the system folder and from
// nowhere else; null when it is not there. The caller owns the module.
HMODULE loadSystemLibrary(const wchar_t* name);

}  // namespace averlune
