#pragma once
// The payload archive reader's file system on Windows: wide-character paths throughout, the
// archive read with positioned reads, target files created new in their held folder (an existing
// name replaced by renaming a new file over it), the last-write time set as local time, names
// through the system's OEM code page.
#include "install/held_folders_win.h"
#include "install/payload_archive_reader.h"

namespace averlune {

// Folders, files and attributes are written only at or below the application folder that
// `folders` holds (install/held_folders_win.h), never through a link: a folder that is not
// plain fails to be made, a file in it fails to be created.
PayloadFileSystem windowsPayloadFileSystem(HeldFolders& folders);

}  // namespace averlune
