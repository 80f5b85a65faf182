#pragma once
#include <windows.h>

#include <string>

namespace averlune {

enum class CopyCabinetResult { success, ownFileUnreadable, cabinetFileNotCreatable };

// Copies the configuration cabinet out of the setup program's own file, read through `ownFile` (the
// run's handle from openOwnFile; null counts as unreadable; its file pointer is moved), into
// `cabinetFile`, replacing a file of that name. The container starts at the end of the executable
// image. A cabinet length that runs past the end of the own file counts as an unreadable own file,
// so a damaged setup never produces a cabinet with bytes that are not there.
CopyCabinetResult copyCabinet(HANDLE ownFile, const std::u16string& cabinetFile);

// Unpacks every file of `cabinetFile` into `targetFolder` (ends in "\"), creating subfolders for
// names with "\" parts. Names that would leave the target folder stop the unpacking. Result: true
// when the platform's cabinet iteration succeeded.
bool extractCabinet(const std::u16string& cabinetFile, const std::u16string& targetFolder);

}  // namespace averlune
