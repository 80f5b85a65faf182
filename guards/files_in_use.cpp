#include "guards/files_in_use.h"

#include <algorithm>

#include "base/path_text.h"

namespace averlune {
namespace {

constexpr std::uint32_t kUnreadable = 0xFFFFFFFF;
constexpr std::uint32_t kReadOnly = 0x1;     // FILE_ATTRIBUTE_READONLY
constexpr std::uint32_t kFolder = 0x10;      // FILE_ATTRIBUTE_DIRECTORY
constexpr std::uint32_t kLink = 0x400;       // FILE_ATTRIBUTE_REPARSE_POINT

}  // namespace

bool waitsForRestart(std::uint32_t status, std::uint32_t attributes) {
  if (status != kStatusSharingViolation && status != kStatusAccessDenied && status != kStatusCannotDelete) return false;
  return attributes != kUnreadable && (attributes & (kReadOnly | kFolder | kLink)) == 0;
}

bool holdsOnlyQueued(const std::u16string& folderPath, const std::vector<std::u16string>& names,
                     const std::vector<std::u16string>& queued) {
  const auto isQueued = [&](const std::u16string& name) {
    const std::u16string path = folderPath + name;
    return std::any_of(queued.begin(), queued.end(), [&](const std::u16string& entry) {
      const std::u16string_view bare =
          !entry.empty() && entry.back() == u'\\' ? std::u16string_view(entry).substr(0, entry.size() - 1) : entry;
      return equalsIgnoringAsciiCase(bare, path);
    });
  };
  return std::all_of(names.begin(), names.end(), isQueued);
}

std::u16string fileAtRestartLogLine(const std::u16string& what, const FileAtRestart& file) {
  std::u16string line = what + u": " + file.path;
  if (file.holders.empty()) return line;
  line += u" (in use by ";
  for (std::size_t index = 0; index < file.holders.size(); ++index) {
    if (index > 0) line += u", ";
    line += file.holders[index];
  }
  return line + u")";
}

}  // namespace averlune
