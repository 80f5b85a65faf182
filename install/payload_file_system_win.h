#pragma once
// The payload archive reader's file system on Windows: wide-character paths throughout, the
// archive read with positioned reads through a file the caller holds open, target files created
// new in their held folder (an existing name replaced by renaming a new file over it), the
// last-write time set as local time, names through the system's OEM code page.
#include <windows.h>

#include "install/held_folders_win.h"
#include "install/payload_archive_reader.h"

namespace averlune {

// The archive is read through duplicates of `archiveFile` (the setup's own file, held since the
// run's first step), never opened by a name: the path given to openPayloadArchive only names it.
// The duplicates share the held handle's file pointer, so only one thread reads at a time; the
// handle must stay open while the reader uses it. Folders, files and attributes are written only
// at or below the application folder that `folders` holds (install/held_folders_win.h), never
// through a link: a folder that is not plain fails to be made, a file in it fails to be created.
// A file whose name another program holds is queued for the next restart when `atRestart` allows
// it (putFileInPlace), and fails to take its path otherwise.
PayloadFileSystem windowsPayloadFileSystem(HeldFolders& folders, HANDLE archiveFile,
                                           FilesReplacedAtRestart* atRestart = nullptr);

}  // namespace averlune
