#pragma once

namespace averlune {

// Restricts where the process loads DLLs from to the system folder. A setup is usually started
// from a downloads folder, and an uninstaller from an application folder that users may write to:
// any DLL left there would otherwise be loaded into an elevated process. Call first, before
// anything can load a library.
void restrictDllSearchToSystemFolder();

}  // namespace averlune
