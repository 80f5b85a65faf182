#pragma once
// MS-DOS packed dates and times, as cabinets and ZIP archives store them: local time, two-second
// resolution, years 1980 to 2107.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>

namespace averlune {

struct DosDateTime {
  std::uint16_t date = 0;  // (year - 1980) << 9 | month << 5 | day
  std::uint16_t time = 0;  // hour << 11 | minute << 5 | second / 2
};

// Packs a broken-down local time (std::tm conventions: tm_year from 1900, tm_mon from 0). Odd
// seconds round down. Times before 1980 become 1980-01-01 00:00:00 and times after 2107 become
// 2107-12-31 23:59:58, so that a file with an odd clock still gets a valid stamp.
DosDateTime packDosDateTime(const std::tm& local);

// The file's last-write time in this machine's local time zone; nothing when it cannot be read.
std::optional<DosDateTime> fileDosDateTime(const std::filesystem::path& file);

}  // namespace averlune
