#pragma once
// Drives the system's folder dialog in a program under test: finds it, selects a folder in it as
// the user would by clicking through its tree, and reads its title text. The selection is asked
// of the dialog itself (BFFM_SETSELECTIONW), with the path or item list written into the
// program's memory, since the dialog reads it from there.
#include <windows.h>

#include <string>

namespace averlune::e2e {

// A visible folder dialog of the process: a dialog that holds a tree of folders.
HWND waitForFolderDialog(DWORD processId, int timeoutMs);
// Selects the folder `path` in the dialog's tree (it must lie below the dialog's root).
bool selectFolderInDialog(HWND dialog, const std::wstring& path);
// Selects the special folder `csidl` (a virtual one such as the computer itself included).
bool selectSpecialFolderInDialog(HWND dialog, int csidl);
// The text the program gave the dialog to show above its tree.
std::wstring folderDialogTitleText(HWND dialog);

}  // namespace averlune::e2e
