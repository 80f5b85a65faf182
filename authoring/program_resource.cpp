#include "authoring/program_resource.h"

#include "config/payload_container.h"

namespace averlune {
namespace {

constexpr std::uint64_t kPeOffsetField = 0x3C;
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint64_t kDirectoryHeaderSize = 16;
constexpr std::uint64_t kDirectoryEntrySize = 8;
constexpr std::uint64_t kDataEntrySize = 16;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;

struct Bytes {
  const std::uint8_t* data;
  std::uint64_t size;
  bool holds(std::uint64_t offset, std::uint64_t length) const { return offset <= size && length <= size - offset; }
  std::uint16_t u16(std::uint64_t offset) const {
    return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
  }
  std::uint32_t u32(std::uint64_t offset) const { return readLittleEndian32(data + offset); }
};

// Where `length` bytes at the address `rva` lie in the file: inside one section's raw data.
std::optional<std::uint64_t> fileOffsetOf(const Bytes& file, std::uint64_t sectionTable, std::uint16_t sectionCount,
                                          std::uint64_t rva, std::uint64_t length) {
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t section = sectionTable + i * kSectionHeaderSize;
    const std::uint64_t address = file.u32(section + 12);
    const std::uint64_t rawSize = file.u32(section + 16);
    const std::uint64_t rawPointer = file.u32(section + 20);
    if (rva < address || rva - address > rawSize || length > rawSize - (rva - address)) continue;
    const std::uint64_t offset = rawPointer + (rva - address);
    if (!file.holds(offset, length)) return std::nullopt;
    return offset;
  }
  return std::nullopt;
}

// The entry of the directory at `directory` (an offset inside `tree`, the resource section's bytes)
// that is numbered `id`, or its first entry when `id` is empty; the raw offset field of that entry.
std::optional<std::uint32_t> directoryEntry(const Bytes& tree, std::uint64_t directory, std::optional<std::uint16_t> id) {
  if (!tree.holds(directory, kDirectoryHeaderSize)) return std::nullopt;
  const std::uint64_t named = tree.u16(directory + 12);
  const std::uint64_t numbered = tree.u16(directory + 14);
  const std::uint64_t entries = directory + kDirectoryHeaderSize;
  if (!tree.holds(entries, (named + numbered) * kDirectoryEntrySize)) return std::nullopt;
  // Named entries come first and are never what a number asks for.
  for (std::uint64_t i = id ? named : 0; i < named + numbered; ++i) {
    const std::uint64_t entry = entries + i * kDirectoryEntrySize;
    if (!id || tree.u32(entry) == *id) return tree.u32(entry + 4);
  }
  return std::nullopt;
}

}  // namespace

std::optional<ResourceSpan> findProgramResource(const std::uint8_t* data, std::size_t size, std::uint16_t type,
                                                std::uint16_t id) {
  const Bytes file{data, size};
  if (!file.holds(0, 64) || data[0] != 'M' || data[1] != 'Z') return std::nullopt;
  const std::uint64_t pe = file.u32(kPeOffsetField);
  if (!file.holds(pe, 4 + kFileHeaderSize) || file.u32(pe) != 0x00004550u) return std::nullopt;
  const std::uint16_t sectionCount = file.u16(pe + 6);
  const std::uint64_t optionalSize = file.u16(pe + 20);
  const std::uint64_t optional = pe + 4 + kFileHeaderSize;
  const std::uint64_t sectionTable = optional + optionalSize;
  if (!file.holds(optional, optionalSize) || !file.holds(sectionTable, sectionCount * kSectionHeaderSize)) {
    return std::nullopt;
  }

  std::uint64_t directories = 0;
  std::uint64_t directoryCountField = 0;
  if (optionalSize < 2) return std::nullopt;
  switch (file.u16(optional)) {
    case kPe32Magic: directoryCountField = 92; directories = 96; break;
    case kPe32PlusMagic: directoryCountField = 108; directories = 112; break;
    default: return std::nullopt;
  }
  const std::uint64_t resourceDirectory = directories + kResourceDirectoryIndex * 8;
  if (resourceDirectory + 8 > optionalSize || file.u32(optional + directoryCountField) <= kResourceDirectoryIndex) {
    return std::nullopt;
  }
  const std::uint64_t treeRva = file.u32(optional + resourceDirectory);
  const std::uint64_t treeSize = file.u32(optional + resourceDirectory + 4);
  const auto treeOffset = fileOffsetOf(file, sectionTable, sectionCount, treeRva, treeSize);
  if (!treeOffset || treeSize == 0) return std::nullopt;
  const Bytes tree{data + *treeOffset, treeSize};

  // Three levels, always: type, name, language. Each offset is relative to the tree's start.
  const auto types = directoryEntry(tree, 0, type);
  if (!types || !(*types & kSubdirectoryFlag)) return std::nullopt;
  const auto names = directoryEntry(tree, *types & ~kSubdirectoryFlag, id);
  if (!names || !(*names & kSubdirectoryFlag)) return std::nullopt;
  const auto language = directoryEntry(tree, *names & ~kSubdirectoryFlag, std::nullopt);
  if (!language || (*language & kSubdirectoryFlag) || !tree.holds(*language, kDataEntrySize)) return std::nullopt;

  const std::uint64_t dataRva = tree.u32(*language);
  const std::uint64_t dataSize = tree.u32(*language + 4);
  const auto dataOffset = fileOffsetOf(file, sectionTable, sectionCount, dataRva, dataSize);
  if (!dataOffset) return std::nullopt;
  return ResourceSpan{static_cast<std::size_t>(*dataOffset), static_cast<std::size_t>(dataSize)};
}

}  // namespace averlune
