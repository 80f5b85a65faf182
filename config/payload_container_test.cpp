#include "config/payload_container.h"

#include <gtest/gtest.h>

#include <vector>

namespace averlune {
namespace {

// A minimal PE image: DOS header, "PE\0\0", COFF header, optional header, section table.
struct SectionSpec {
  std::uint32_t rawPointer;
  std::uint32_t rawSize;
};

std::vector<std::uint8_t> makePeHeaders(const std::vector<SectionSpec>& sections,
                                        std::uint16_t optionalHeaderSize = 224) {
  const std::uint32_t peOffset = 0x80;
  std::vector<std::uint8_t> bytes(peOffset + 4 + 20 + optionalHeaderSize + 40 * sections.size(), 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  writeLittleEndian32(peOffset, &bytes[0x3C]);
  bytes[peOffset] = 'P';
  bytes[peOffset + 1] = 'E';
  bytes[peOffset + 4 + 2] = static_cast<std::uint8_t>(sections.size());
  bytes[peOffset + 4 + 16] = static_cast<std::uint8_t>(optionalHeaderSize & 0xFF);
  bytes[peOffset + 4 + 17] = static_cast<std::uint8_t>(optionalHeaderSize >> 8);
  std::size_t at = peOffset + 4 + 20 + optionalHeaderSize;
  for (const SectionSpec& s : sections) {
    writeLittleEndian32(s.rawSize, &bytes[at + 16]);
    writeLittleEndian32(s.rawPointer, &bytes[at + 20]);
    at += 40;
  }
  return bytes;
}

TEST(PeImageLength, IsTheEndOfTheFurthestSectionRawData) {
  // Sections need not be in file order, and a section without raw data (.bss) adds nothing.
  const std::vector<SectionSpec> sections = {{0x400, 0x1000}, {0x6E000, 0xA00}, {0x1400, 0}, {0x2000, 0x200}};
  // The section table follows the optional header, whose size differs between 32-bit images
  // (PE32, 224 bytes) and 64-bit images (PE32+, 240 bytes): both builds must find their payload.
  for (const std::uint16_t optionalHeaderSize : {224, 240}) {
    const auto image = makePeHeaders(sections, optionalHeaderSize);
    EXPECT_EQ(peImageLength(image.data(), image.size()), 0x6EA00u) << optionalHeaderSize;
  }
}

TEST(PeImageLength, RefusesBytesThatAreNotACompletePeHeader) {
  const auto good = makePeHeaders({{0x400, 0x200}});
  EXPECT_TRUE(peImageLength(good.data(), good.size()).has_value());

  auto noMz = good;
  noMz[0] = 'X';
  EXPECT_FALSE(peImageLength(noMz.data(), noMz.size()));

  auto noPe = good;
  noPe[0x80] = 'N';
  EXPECT_FALSE(peImageLength(noPe.data(), noPe.size()));

  auto farPe = good;
  writeLittleEndian32(0xFFFFFFF0u, &farPe[0x3C]);
  EXPECT_FALSE(peImageLength(farPe.data(), farPe.size()));

  // Section table cut off.
  EXPECT_FALSE(peImageLength(good.data(), good.size() - 1));
  EXPECT_FALSE(peImageLength(good.data(), 10));

  const auto noSections = makePeHeaders({});
  EXPECT_FALSE(peImageLength(noSections.data(), noSections.size()));
  const auto onlyEmpty = makePeHeaders({{0x400, 0}});
  EXPECT_FALSE(peImageLength(onlyEmpty.data(), onlyEmpty.size()));
}

TEST(LittleEndian, RoundTripsAtFullWidth) {
  std::uint8_t bytes[8];
  writeLittleEndian64(0x0102030405060708ull, bytes);
  EXPECT_EQ(bytes[0], 0x08);
  EXPECT_EQ(bytes[7], 0x01);
  EXPECT_EQ(readLittleEndian64(bytes), 0x0102030405060708ull);
  writeLittleEndian32(0xFFFFFFFEu, bytes);
  EXPECT_EQ(readLittleEndian32(bytes), 0xFFFFFFFEu);
}

TEST(LocateCabinet, AcceptsOnlyCabinetsInsideTheFile) {
  const auto span = locateCabinet(1000, 500, 1508);
  ASSERT_TRUE(span);
  EXPECT_EQ(span->offset, 1008u);
  EXPECT_EQ(span->length, 500u);

  EXPECT_FALSE(locateCabinet(1000, 501, 1508));  // one byte past the end
  EXPECT_FALSE(locateCabinet(1000, 0, 1004));     // length field itself cut off
  EXPECT_FALSE(locateCabinet(1000, ~0ull, 2000));  // would wrap around
}

// A PE image of one section ending at 0x1000 whose security directory names a table at `offset`.
std::vector<std::uint8_t> signedHeaders(std::uint16_t magic, std::uint32_t offset, std::uint32_t size,
                                        std::uint16_t optionalHeaderSize) {
  auto bytes = makePeHeaders({{0x400, 0xC00}}, optionalHeaderSize);
  const std::size_t optionalHeader = 0x80 + 4 + 20;
  bytes[optionalHeader] = static_cast<std::uint8_t>(magic & 0xFF);
  bytes[optionalHeader + 1] = static_cast<std::uint8_t>(magic >> 8);
  const std::size_t directory = optionalHeader + (magic == 0x20B ? 112 : 96) + 4 * 8;
  if (directory + 8 <= optionalHeader + optionalHeaderSize) {
    writeLittleEndian32(offset, &bytes[directory]);
    writeLittleEndian32(size, &bytes[directory + 4]);
  }
  return bytes;
}

TEST(PayloadEnd, IsWhereTheCertificateTableBeginsWhenTheSecurityDirectoryNamesOneAfterTheImage) {
  const std::uint64_t file = 0x9000;
  const auto end = [&](const std::vector<std::uint8_t>& headers) {
    return payloadEnd(headers.data(), headers.size(), file);
  };
  EXPECT_EQ(end(signedHeaders(0x10B, 0x8000, 0x1000, 224)), 0x8000u);  // 32-bit image
  EXPECT_EQ(end(signedHeaders(0x20B, 0x8000, 0x1000, 240)), 0x8000u);  // 64-bit image
  EXPECT_EQ(end(signedHeaders(0x10B, 0x1000, 0x8000, 224)), 0x1000u);  // an empty payload

  // Anything else leaves the whole file to the archive: no table, a table that does not run to
  // the end of the file or overlaps the image, an unknown optional header or one too short to
  // hold the directory, and bytes that are no PE file at all.
  EXPECT_EQ(end(signedHeaders(0x10B, 0, 0, 224)), file);
  EXPECT_EQ(end(signedHeaders(0x10B, 0x8000, 0x800, 224)), file);
  EXPECT_EQ(end(signedHeaders(0x10B, 0x8000, 0x2000, 224)), file);
  EXPECT_EQ(end(signedHeaders(0x10B, 0xFFFFFFFF, 0xFFFFFFFF, 224)), file);
  EXPECT_EQ(end(signedHeaders(0x10B, 0x800, 0x8800, 224)), file);
  EXPECT_EQ(end(signedHeaders(0x107, 0x8000, 0x1000, 224)), file);
  EXPECT_EQ(end(signedHeaders(0x10B, 0x8000, 0x1000, 96)), file);
  const std::vector<std::uint8_t> text(512, 'x');
  EXPECT_EQ(end(text), file);
}

}  // namespace
}  // namespace averlune
