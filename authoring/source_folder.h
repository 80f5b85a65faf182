#pragma once
// The author's folders as the builder sees them: every file below a folder with its name relative
// to that folder, its size, time and Windows attributes, plus every subfolder.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/dos_time.h"

namespace averlune {

struct SourceFile {
  std::filesystem::path path;  // where the file lies on this machine
  std::string name;            // relative to the scanned folder, UTF-8, "/" between levels
  std::uint64_t size = 0;
  DosDateTime modified;        // last-write time, local
  std::uint8_t attributes = 0; // Windows attributes: 0x20 archive, plus 0x01 when not writable
};

struct SourceFolder {
  std::vector<SourceFile> files;        // sorted by name
  std::vector<std::string> subfolders;  // relative names as for files, sorted
};

constexpr std::uint8_t kAttributeReadOnly = 0x01;
constexpr std::uint8_t kAttributeFolder = 0x10;
constexpr std::uint8_t kAttributeArchive = 0x20;

// Scans `folder` and everything below it into `result`. Empty on success, otherwise a one-line
// reason naming the folder or file at fault: the folder is missing or not a folder, a folder
// cannot be listed, an entry is neither a file nor a folder (a device, a socket, a link to a folder
// or a dangling link), or a file cannot be inspected.
std::string scanSourceFolder(const std::filesystem::path& folder, SourceFolder& result);

}  // namespace averlune
