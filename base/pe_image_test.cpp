#include "base/pe_image.h"

#include <gtest/gtest.h>

#include <string>

namespace averlune {
namespace {

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// Headers at 0x40 and one section at address 0x1000, stored at 0x200 with 0x100 bytes (each the
// offset from its own start, so a read shows where it landed). `wide` gives PE32+ headers.
std::string image(bool wide, std::uint32_t loadedSize, std::uint16_t optionalSize, std::uint32_t directories) {
  std::string bytes(0x300, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  put32(bytes, 0x3C, 0x40);
  bytes.replace(0x40, 4, std::string("PE\0\0", 4));
  bytes[0x46] = 1;  // one section
  bytes[0x54] = static_cast<char>(optionalSize & 0xFF);
  bytes[0x55] = static_cast<char>(optionalSize >> 8);
  const std::size_t optional = 0x58;
  bytes[optional] = 0x0B;
  bytes[optional + 1] = wide ? 0x02 : 0x01;
  const std::size_t count = optional + (wide ? 108 : 92);
  put32(bytes, count, directories);
  for (std::uint32_t i = 0; i < 16; ++i) put32(bytes, count + 4 + 8 * i, 0x1000 + i);
  const std::size_t section = optional + optionalSize;
  put32(bytes, section + 8, loadedSize);
  put32(bytes, section + 12, 0x1000);
  put32(bytes, section + 16, 0x100);
  put32(bytes, section + 20, 0x200);
  for (std::size_t i = 0; i < 0x100; ++i) bytes[0x200 + i] = static_cast<char>(i);
  return bytes;
}

// Both header formats place the directory table after their own fixed part; each directory is
// there only when the header both declares and holds it.
TEST(PeImage, DataDirectoriesOfBothFormats) {
  for (const bool wide : {false, true}) {
    SCOPED_TRACE(wide);
    const std::uint16_t full = wide ? 240 : 224;
    const std::string declared = image(wide, 0x100, full, 16);
    const auto pe = PeImage::open(declared);
    ASSERT_TRUE(pe);
    ASSERT_TRUE(pe->directory(kPeResourceDirectory));
    EXPECT_EQ(pe->directory(kPeResourceDirectory)->address, 0x1002u);
    EXPECT_FALSE(pe->directory(16));

    const std::string fewer = image(wide, 0x100, full, 2);
    EXPECT_TRUE(PeImage::open(fewer)->directory(1));
    EXPECT_FALSE(PeImage::open(fewer)->directory(kPeResourceDirectory));

    // The count claims 16, but the header ends inside the third entry.
    const std::string shortHeader = image(wide, 0x100, static_cast<std::uint16_t>(full - 8 * 13 - 4), 16);
    EXPECT_TRUE(PeImage::open(shortHeader)->directory(1));
    EXPECT_FALSE(PeImage::open(shortHeader)->directory(kPeResourceDirectory));
  }
}

// Only the bytes that are both stored and loaded map; a loaded size of 0 means the stored size.
TEST(PeImage, AddressesMapIntoTheLoadedPartOfTheStoredBytes) {
  const struct {
    std::uint32_t loadedSize;
    std::uint64_t rva;
    std::size_t readable;  // from `rva` to the end of the mapped part; 0: unmapped
  } rows[] = {
      {0x100, 0x1000, 0x100}, {0x100, 0x10FF, 1},      {0x100, 0x1100, 0}, {0x100, 0xFFF, 0},
      {0, 0x1010, 0xF0},      {0x40, 0x1010, 0x30},   {0x40, 0x1040, 0},  {0x2000, 0x1100, 0},
      {0x100, 0x100001000ull, 0},  // past 32 bits: never wrapped around to 0x1000
  };
  for (const auto& row : rows) {
    const std::string bytes = image(false, row.loadedSize, 224, 16);
    const auto pe = PeImage::open(bytes);
    ASSERT_TRUE(pe);
    const std::string_view at = pe->at(row.rva);
    EXPECT_EQ(at.size(), row.readable) << std::hex << row.loadedSize << " " << row.rva;
    if (row.readable) {
      EXPECT_EQ(static_cast<unsigned char>(at[0]), (row.rva - 0x1000) & 0xFF);
    }
    const auto offset = pe->fileOffset(row.rva, row.readable);
    EXPECT_EQ(offset.has_value(), row.readable != 0);
    if (offset) {
      EXPECT_EQ(*offset, 0x200 + (row.rva - 0x1000));
    }
    EXPECT_FALSE(pe->fileOffset(row.rva, row.readable + 1));
  }
  // Stored bytes the file does not hold are not read, however the header sizes them.
  const std::string cut = image(false, 0x100, 224, 16).substr(0, 0x280);
  EXPECT_EQ(PeImage::open(cut)->at(0x1000).size(), 0x80u);
  EXPECT_TRUE(PeImage::open(cut)->at(0x1080).empty());
}

}  // namespace
}  // namespace averlune
