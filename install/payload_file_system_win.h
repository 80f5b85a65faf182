#pragma once
// The payload archive reader's file system on Windows: wide-character paths throughout, the
// archive read with positioned reads, target files created with create-always semantics, the
// last-write time set as local time, names through the system's OEM code page.
#include "install/payload_archive_reader.h"

namespace averlune {

PayloadFileSystem windowsPayloadFileSystem();

}  // namespace averlune
