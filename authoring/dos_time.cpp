#include "authoring/dos_time.h"

#include <sys/stat.h>

namespace averlune {

DosDateTime packDosDateTime(const std::tm& local) {
  const int year = local.tm_year + 1900;
  if (year < 1980) return {static_cast<std::uint16_t>((1 << 5) | 1), 0};
  if (year > 2107) {
    return {static_cast<std::uint16_t>((127 << 9) | (12 << 5) | 31),
            static_cast<std::uint16_t>((23 << 11) | (59 << 5) | 29)};
  }
  DosDateTime packed;
  packed.date = static_cast<std::uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  // A leap second (tm_sec 60) would overflow the five-bit field; it is stored as 58.
  const int seconds = local.tm_sec > 59 ? 59 : local.tm_sec;
  packed.time = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (seconds / 2));
  return packed;
}

std::optional<DosDateTime> fileDosDateTime(const std::filesystem::path& file) {
  std::tm local{};
#ifdef _WIN32
  struct _stat64 info;
  if (_wstat64(file.c_str(), &info) != 0) return std::nullopt;
  const __time64_t modified = info.st_mtime;
  if (_localtime64_s(&local, &modified) != 0) return std::nullopt;
#else
  struct stat info;
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  const time_t modified = info.st_mtime;
  if (localtime_r(&modified, &local) == nullptr) return std::nullopt;
#endif
  return packDosDateTime(local);
}

}  // namespace averlune
