#include "base/pe_image.h"

#include <algorithm>

namespace averlune {
namespace {

constexpr std::uint64_t kPeOffsetField = 0x3C;
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint64_t kDirectoryEntrySize = 8;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;

}  // namespace

bool fileHolds(std::string_view bytes, std::uint64_t offset, std::uint64_t length) {
  return offset <= bytes.size() && length <= bytes.size() - offset;
}

std::optional<std::uint16_t> fileU16(std::string_view bytes, std::uint64_t offset) {
  if (!fileHolds(bytes, offset, 2)) return std::nullopt;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::optional<std::uint32_t> fileU32(std::string_view bytes, std::uint64_t offset) {
  if (!fileHolds(bytes, offset, 4)) return std::nullopt;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::optional<PeImage> PeImage::open(std::string_view bytes) {
  if (bytes.substr(0, 2) != "MZ") return std::nullopt;
  const auto pe = fileU32(bytes, kPeOffsetField);
  if (!pe || !fileHolds(bytes, *pe, 4 + kFileHeaderSize) || bytes.substr(*pe, 4) != std::string_view("PE\0\0", 4)) {
    return std::nullopt;
  }
  const std::uint64_t fileHeader = std::uint64_t{*pe} + 4;
  const std::uint16_t sectionCount = *fileU16(bytes, fileHeader + 2);
  const std::uint16_t optionalSize = *fileU16(bytes, fileHeader + 16);
  const std::uint64_t optional = fileHeader + kFileHeaderSize;
  const std::uint64_t sectionTable = optional + optionalSize;
  if (!fileHolds(bytes, optional, optionalSize) || !fileHolds(bytes, sectionTable, sectionCount * kSectionHeaderSize)) {
    return std::nullopt;
  }
  // The data directories follow the fixed part of the optional header, which is 16 bytes longer
  // in the 64-bit format.
  const auto magic = optionalSize >= 2 ? fileU16(bytes, optional) : std::nullopt;
  if (!magic || (*magic != kPe32Magic && *magic != kPe32PlusMagic)) return std::nullopt;

  PeImage image;
  image.bytes_ = bytes;
  image.optionalHeader_ = optional;
  image.optionalSize_ = optionalSize;
  image.directoryCountField_ = *magic == kPe32Magic ? 92 : 108;
  image.sections_.reserve(sectionCount);
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t header = sectionTable + i * kSectionHeaderSize;
    const std::uint32_t loadedSize = *fileU32(bytes, header + 8);
    const std::uint32_t storedSize = *fileU32(bytes, header + 16);
    // A loaded size of 0 means the stored size, as the loader reads it.
    const std::uint32_t size = loadedSize == 0 ? storedSize : std::min(loadedSize, storedSize);
    image.sections_.push_back({*fileU32(bytes, header + 12), size, *fileU32(bytes, header + 20)});
  }
  return image;
}

std::optional<PeDirectory> PeImage::directory(std::uint32_t index) const {
  const std::uint64_t entry = directoryCountField_ + 4 + index * kDirectoryEntrySize;
  if (entry + kDirectoryEntrySize > optionalSize_) return std::nullopt;
  if (*fileU32(bytes_, optionalHeader_ + directoryCountField_) <= index) return std::nullopt;
  return PeDirectory{*fileU32(bytes_, optionalHeader_ + entry), *fileU32(bytes_, optionalHeader_ + entry + 4)};
}

const PeImage::Section* PeImage::sectionOf(std::uint64_t rva) const {
  for (const Section& s : sections_) {
    if (rva >= s.address && rva - s.address < s.size) return &s;
  }
  return nullptr;
}

std::string_view PeImage::at(std::uint64_t rva) const {
  const Section* s = rva <= UINT32_MAX ? sectionOf(rva) : nullptr;
  if (!s) return {};
  const std::uint64_t offset = std::uint64_t{s->fileOffset} + (rva - s->address);
  if (offset >= bytes_.size()) return {};
  const std::uint64_t length = std::min<std::uint64_t>(s->size - (rva - s->address), bytes_.size() - offset);
  return bytes_.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

std::optional<std::size_t> PeImage::fileOffset(std::uint64_t rva, std::uint64_t length) const {
  const std::string_view span = at(rva);
  if (span.empty() || span.size() < length) return std::nullopt;
  return static_cast<std::size_t>(span.data() - bytes_.data());
}

}  // namespace averlune
