#include "config/payload_container.h"

#include <algorithm>

namespace averlune {
namespace {

constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kPeOffsetField = 0x3C;
constexpr std::size_t kFileHeaderSize = 20;  // COFF header after the "PE\0\0" signature
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSectionRawSizeField = 16;
constexpr std::size_t kSectionRawPointerField = 20;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
// The security directory (data directory 4): its first field is a file offset, not an address.
constexpr std::size_t kPe32SecurityDirectory = 96 + 4 * 8;
constexpr std::size_t kPe32PlusSecurityDirectory = 112 + 4 * 8;

std::uint16_t readLittleEndian16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

}  // namespace

std::uint32_t readLittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::uint64_t readLittleEndian64(const std::uint8_t* bytes) {
  return static_cast<std::uint64_t>(readLittleEndian32(bytes)) |
         (static_cast<std::uint64_t>(readLittleEndian32(bytes + 4)) << 32);
}

void writeLittleEndian32(std::uint32_t value, std::uint8_t* bytes) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void writeLittleEndian64(std::uint64_t value, std::uint8_t* bytes) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::optional<std::uint64_t> peImageLength(const std::uint8_t* data, std::size_t size) {
  if (size < kDosHeaderSize || data[0] != 'M' || data[1] != 'Z') return std::nullopt;
  const std::uint64_t peOffset = readLittleEndian32(data + kPeOffsetField);
  if (peOffset + 4 + kFileHeaderSize > size) return std::nullopt;
  const std::uint8_t* pe = data + peOffset;
  if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return std::nullopt;
  const std::uint16_t sectionCount = readLittleEndian16(pe + 4 + 2);
  const std::uint16_t optionalHeaderSize = readLittleEndian16(pe + 4 + 16);
  const std::uint64_t sectionTable = peOffset + 4 + kFileHeaderSize + optionalHeaderSize;
  if (sectionCount == 0 || sectionTable + sectionCount * kSectionHeaderSize > size) return std::nullopt;

  std::uint64_t end = 0;
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    const std::uint8_t* section = data + sectionTable + i * kSectionHeaderSize;
    const std::uint32_t rawSize = readLittleEndian32(section + kSectionRawSizeField);
    const std::uint32_t rawPointer = readLittleEndian32(section + kSectionRawPointerField);
    if (rawSize == 0) continue;  // uninitialised data occupies no bytes of the file
    end = std::max<std::uint64_t>(end, std::uint64_t{rawPointer} + rawSize);
  }
  if (end == 0) return std::nullopt;
  return end;
}

std::uint64_t payloadEnd(const std::uint8_t* headers, std::size_t size, std::uint64_t fileSize) {
  const auto imageLength = peImageLength(headers, size);
  if (!imageLength) return fileSize;
  const std::uint64_t optionalHeader = readLittleEndian32(headers + kPeOffsetField) + 4 + kFileHeaderSize;
  const std::uint16_t optionalHeaderSize = readLittleEndian16(headers + optionalHeader - 4);
  std::size_t directory = 0;
  switch (readLittleEndian16(headers + optionalHeader)) {
    case kPe32Magic: directory = kPe32SecurityDirectory; break;
    case kPe32PlusMagic: directory = kPe32PlusSecurityDirectory; break;
    default: return fileSize;
  }
  if (directory + 8 > optionalHeaderSize) return fileSize;
  const std::uint64_t tableOffset = readLittleEndian32(headers + optionalHeader + directory);
  const std::uint64_t tableSize = readLittleEndian32(headers + optionalHeader + directory + 4);
  if (tableOffset == 0 || tableSize == 0 || tableOffset < *imageLength || tableOffset + tableSize != fileSize) {
    return fileSize;
  }
  return tableOffset;
}

std::optional<CabinetSpan> locateCabinet(std::uint64_t containerOffset, std::uint64_t cabinetLength,
                                         std::uint64_t fileSize) {
  const std::uint64_t start = containerOffset + kCabinetLengthSize;
  if (start > fileSize || cabinetLength > fileSize - start) return std::nullopt;
  return CabinetSpan{start, cabinetLength};
}

}  // namespace averlune
