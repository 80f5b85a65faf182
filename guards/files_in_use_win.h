#pragma once
// Files another program holds: who holds them, as far as Windows can tell, and their replacement
// or removal queued for the next restart.
//
// The queue names full paths, and the system carries it out by those paths before any program
// runs, when the folder handles that guard the run are long closed. It is safe as far as the
// folders on those paths are: the levels a setup makes carry the machine's DACL (only
// administrators and SYSTEM may put a link in their place); a folder that stood before keeps the
// DACL its administrator gave it. So only files in the application folder are ever queued, and
// only as plain files the run checked (guards/files_in_use.h).
#include <windows.h>

#include <string>
#include <vector>

namespace averlune {

// The programs that hold `path` open, by the names the system's Restart Manager gives them; empty
// when none is known or the Restart Manager is not there (it is loaded from the system folder
// alone, at the first call, and only then).
std::vector<std::u16string> programsHolding(const std::u16string& path);

// Queues `newPath` to be renamed over `path` at the next restart (an administrator's right). False
// when the system refuses to queue it.
bool replaceAtRestart(const std::u16string& newPath, const std::u16string& path);

// Queues `path` to be deleted at the next restart. False when the system refuses to queue it.
bool deleteAtRestart(const std::u16string& path);

// Queues the folder open at `folder` (with listing rights; reached by `path`, ending in "\") for
// deletion at the next restart when all it holds is queued already (holdsOnlyQueued), so that the
// restart empties it first. False when it holds anything else, cannot be listed, or the queue
// refuses.
bool deleteFolderAtRestart(HANDLE folder, const std::u16string& path, const std::vector<std::u16string>& queued);

}  // namespace averlune
