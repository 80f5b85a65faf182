#include "wizard/plugin_exports.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_set>

namespace averlune {
namespace {

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kExportDirectorySize = 40;
constexpr std::size_t kMaxNameLength = 4095;
// The loader refuses images with more sections; the limit also keeps every address lookup short.
constexpr std::uint16_t kMaxSections = 96;

std::optional<std::uint32_t> readU32(std::string_view bytes, std::uint64_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return std::nullopt;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::optional<std::uint16_t> readU16(std::string_view bytes, std::uint64_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 2) return std::nullopt;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// Where a section's bytes lie in the file and which addresses they take once loaded. Only the
// part that is both stored and inside the section's loaded size is readable: the loader drops
// stored bytes past the loaded size and zero-fills loaded bytes past the stored ones.
struct Section {
  std::uint32_t address = 0;
  std::uint32_t size = 0;
  std::uint32_t fileOffset = 0;
};

struct Image {
  std::string_view bytes;
  std::vector<Section> sections;

  // The bytes at `rva` up to the end of its section's readable part; empty when unmapped.
  // Addresses are 32 bits: one computed past that range is unmapped, never wrapped around.
  std::string_view at(std::uint64_t rva64) const {
    if (rva64 > UINT32_MAX) return {};
    const auto rva = static_cast<std::uint32_t>(rva64);
    for (const Section& s : sections) {
      if (rva < s.address || rva - s.address >= s.size) continue;
      const std::uint64_t offset = static_cast<std::uint64_t>(s.fileOffset) + (rva - s.address);
      if (offset >= bytes.size()) return {};
      const std::uint64_t length = std::min<std::uint64_t>(s.size - (rva - s.address), bytes.size() - offset);
      return bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    }
    return {};
  }

  // The NUL-terminated name at `rva`; empty when it is unmapped, runs off its section or is
  // longer than any function name a plug-in calls by (the cap keeps a file whose name entries all
  // point at one long unterminated run from costing a scan of the file per entry).
  std::string_view nameAt(std::uint64_t rva) const {
    const std::string_view rest = at(rva).substr(0, kMaxNameLength + 1);
    const std::size_t end = rest.find('\0');
    return end == std::string_view::npos ? std::string_view{} : rest.substr(0, end);
  }
};

// Reads the section table and the export directory's address. False for anything that is no
// PE image or has no export directory.
bool openImage(std::string_view bytes, Image& image, std::uint32_t& exportDirectory) {
  if (bytes.substr(0, 2) != "MZ") return false;
  const auto peOffset = readU32(bytes, 0x3C);
  if (!peOffset || *peOffset > bytes.size()) return false;
  if (bytes.substr(*peOffset, 4) != std::string_view("PE\0\0", 4)) return false;
  const std::uint64_t fileHeader = static_cast<std::uint64_t>(*peOffset) + 4;
  const auto sectionCount = readU16(bytes, fileHeader + 2);
  const auto optionalSize = readU16(bytes, fileHeader + 16);
  if (!sectionCount || !optionalSize || *sectionCount > kMaxSections) return false;
  const std::uint64_t optional = fileHeader + kFileHeaderSize;
  const auto magic = readU16(bytes, optional);
  if (!magic || (*magic != kPe32Magic && *magic != kPe32PlusMagic)) return false;
  // The data directories follow the fixed part of the optional header, which is 16 bytes longer
  // in the 64-bit format; the export directory is the first of them.
  const std::uint64_t directoryCountAt = optional + (*magic == kPe32Magic ? 92 : 108);
  const auto directoryCount = readU32(bytes, directoryCountAt);
  if (!directoryCount || *directoryCount < 1 || directoryCountAt + 4 + 8 > optional + *optionalSize) return false;
  const auto exportAddress = readU32(bytes, directoryCountAt + 4);
  if (!exportAddress || *exportAddress == 0) return false;
  exportDirectory = *exportAddress;

  image.bytes = bytes;
  const std::uint64_t table = optional + *optionalSize;
  for (std::uint16_t i = 0; i < *sectionCount; ++i) {
    const std::uint64_t header = table + static_cast<std::uint64_t>(i) * kSectionHeaderSize;
    const auto loadedSize = readU32(bytes, header + 8);
    const auto address = readU32(bytes, header + 12);
    const auto storedSize = readU32(bytes, header + 16);
    const auto fileOffset = readU32(bytes, header + 20);
    if (!loadedSize || !address || !storedSize || !fileOffset) return false;
    // A loaded size of 0 means the stored size, as the loader reads it.
    const std::uint32_t size = *loadedSize == 0 ? *storedSize : std::min(*loadedSize, *storedSize);
    image.sections.push_back({*address, size, *fileOffset});
  }
  return true;
}

}  // namespace

std::vector<std::string> pluginExportNames(std::string_view bytes) {
  Image image;
  std::uint32_t directory = 0;
  if (!openImage(bytes, image, directory)) return {};
  const std::string_view fields = image.at(directory);
  if (fields.size() < kExportDirectorySize) return {};
  const std::uint32_t functionCount = *readU32(fields, 20);
  const std::uint32_t nameCount = *readU32(fields, 24);
  const std::uint64_t functions = *readU32(fields, 28);
  const std::uint64_t names = *readU32(fields, 32);
  const std::uint64_t ordinals = *readU32(fields, 36);

  // Tables the file does not hold in full mean a damaged directory, whatever it would still give:
  // no function of it is called. The check also bounds every loop below by the file's size. The
  // tables are read from these checked views alone: looked up entry by entry, an address inside a
  // table could fall into another, shorter section first where sections overlap.
  const std::string_view functionTable = image.at(functions);
  const std::string_view nameTable = image.at(names);
  const std::string_view ordinalTable = image.at(ordinals);
  if (functionTable.size() / 4 < functionCount || nameTable.size() / 4 < nameCount ||
      ordinalTable.size() / 2 < nameCount) {
    return {};
  }
  struct Named {
    std::uint32_t slot;      // in the address table
    std::uint32_t position;  // in the name table
  };
  std::vector<Named> named;
  for (std::uint32_t i = 0; i < nameCount; ++i) {
    const std::uint16_t slot = *readU16(ordinalTable, 2ull * i);
    if (slot < functionCount) named.push_back({slot, i});
  }
  // Address-table order; an export with several names goes by the last in the name table.
  std::sort(named.begin(), named.end(), [](const Named& a, const Named& b) {
    return a.slot != b.slot ? a.slot < b.slot : a.position < b.position;
  });
  std::vector<std::string> result;
  std::unordered_set<std::string_view> seen;
  for (std::size_t k = 0; k < named.size(); ++k) {
    if (k + 1 < named.size() && named[k + 1].slot == named[k].slot) continue;
    if (*readU32(functionTable, 4ull * named[k].slot) == 0) continue;
    const std::string_view name = image.nameAt(*readU32(nameTable, 4ull * named[k].position));
    if (!name.empty() && seen.insert(name).second) result.emplace_back(name);
  }
  return result;
}

}  // namespace averlune
