#pragma once
// The free-space text of the application folder page ("500 MB", "1.5 GB", "ERROR").
#include <cstdint>
#include <string>

namespace averlune {

// The drive root a folder's free space is asked for: its first three characters ("C:\" of
// "C:\Program Files\Tool\"). The empty text when there is nothing to ask: for the empty folder
// and for a network path ("\\server\share\"), whose first three characters name no drive and
// would send the query looking for a server named by one letter; the page then shows "ERROR".
std::u16string freeSpaceRootOf(const std::u16string& folder);

// The text for `freeBytes` total free bytes on the drive (0 when the query failed): whole
// mebibytes up to 1024 as "N MB", above that gibibytes with at most one decimal, a trailing ".0"
// dropped ("1 GB", "1.5 GB"); "ERROR" under one mebibyte.
std::u16string freeSpaceText(std::uint64_t freeBytes);

}  // namespace averlune
