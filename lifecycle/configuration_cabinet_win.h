#pragma once
#include <string>

namespace averlune {

enum class CopyCabinetResult { success, ownFileUnreadable, cabinetFileNotCreatable };

// Copies the configuration cabinet out of the setup program's own file `ownFile` (the container
// that starts at the end of its executable image) into `cabinetFile`, replacing a file of that
// name. A cabinet length that runs past the end of the own file counts as an unreadable own file,
// so a damaged setup never produces a cabinet with bytes that are not there.
CopyCabinetResult copyCabinet(const std::u16string& ownFile, const std::u16string& cabinetFile);

// Unpacks every file of `cabinetFile` into `targetFolder` (ends in "\"), creating subfolders for
// names with "\" parts. Names that would leave the target folder stop the unpacking. Result: true
// when the platform's cabinet iteration succeeded.
bool extractCabinet(const std::u16string& cabinetFile, const std::u16string& targetFolder);

}  // namespace averlune
