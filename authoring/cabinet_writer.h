#pragma once
// Writes the configuration cabinet: a single Microsoft Cabinet file with one folder compressed
// with MSZIP, readable by the platform's cabinet iteration on the setup's side.
#include <cstdint>
#include <string>
#include <vector>

#include "authoring/dos_time.h"

namespace averlune {

struct CabinetEntry {
  std::string name;  // UTF-8; "\" between folder levels, which the setup recreates under its work folder
  std::vector<std::uint8_t> data;
  DosDateTime modified;
  std::uint16_t attributes = 0x20;  // read-only, hidden, system, archive bits as Windows keeps them
};

// Limits of the cabinet format for one folder.
constexpr std::size_t kCabinetMaxFiles = 0xFFFF;
constexpr std::size_t kCabinetMaxNameBytes = 255;
constexpr std::uint64_t kCabinetMaxFolderBytes = 0x7FFF8000;
constexpr std::size_t kMszipBlockBytes = 32768;

// Builds the whole cabinet in `cabinet`, files in the order given. Each data block holds at most
// 32,768 uncompressed bytes as "CK" and a complete raw deflate stream of its own (no back
// references into earlier blocks), and carries the cabinet checksum. Names are stored in code page
// 1252, which the platform reads them in; a name with characters outside it is stored as UTF-8 and
// flagged so (readers that ignore the flag then show it garbled). Empty on success, otherwise a one-line reason (no files, too many, a name
// that is empty or too long, too much data, a compression failure); `cabinet` is then empty.
std::string buildCabinet(const std::vector<CabinetEntry>& files, std::vector<std::uint8_t>& cabinet);

// The cabinet format's checksum of `size` bytes, continuing from `seed`.
std::uint32_t cabinetChecksum(const std::uint8_t* data, std::size_t size, std::uint32_t seed);

}  // namespace averlune
