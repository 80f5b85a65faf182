#pragma once

namespace averlune {

// Restricts where the process loads DLLs from to the system folder. A setup is usually started
// from a downloads folder, where any DLL another download left behind would otherwise be loaded
// into an elevated process. Call first, before anything can load a library.
void restrictDllSearchToSystemFolder();

}  // namespace averlune
