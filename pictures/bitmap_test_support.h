#pragma once
// Bitmap files put together byte by byte for the tests of the bitmap decoder, the splash screen
// and the end-to-end runs: the headers are written here, the pixel rows come from the caller as
// they are stored (bottom row first unless the height is negative, rows padded to 4 bytes).
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace averlune::test {

// Written as {headerSize, width, height, bitCount, ...}; what is left out takes its default.
struct BitmapForm {
  BitmapForm(std::uint32_t headerSizeValue = 40, std::int32_t widthValue = 0, std::int32_t heightValue = 0,
             std::uint16_t bitCountValue = 24, std::uint32_t compressionValue = 0, std::uint32_t colourCountValue = 0,
             std::vector<std::uint32_t> colourTableValue = {}, std::vector<std::uint32_t> masksValue = {})
      : headerSize(headerSizeValue),
        width(widthValue),
        height(heightValue),
        bitCount(bitCountValue),
        compression(compressionValue),
        colourCount(colourCountValue),
        colourTable(std::move(colourTableValue)),
        masks(std::move(masksValue)) {}

  std::uint32_t headerSize;  // 12 (core), 40 (info) or a later info header such as 124
  std::int32_t width;
  std::int32_t height;  // negative: rows stored top first
  std::uint16_t bitCount;
  std::uint32_t compression;  // 0 plain, 1 run-length 8, 2 run-length 4, 3 bit fields
  std::uint32_t colourCount;  // the header's count of used colours; 0 means all
  std::vector<std::uint32_t> colourTable;  // 0xRRGGBB, written as the header size asks
  std::vector<std::uint32_t> masks;        // red, green, blue for bit fields
};

inline void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::string bitmapFile(const BitmapForm& form, const std::string& pixels) {
  std::string header;
  putLittleEndian(header, form.headerSize, 4);
  if (form.headerSize == 12) {
    putLittleEndian(header, static_cast<std::uint32_t>(form.width), 2);
    putLittleEndian(header, static_cast<std::uint32_t>(form.height), 2);
    putLittleEndian(header, 1, 2);
    putLittleEndian(header, form.bitCount, 2);
  } else {
    putLittleEndian(header, static_cast<std::uint32_t>(form.width), 4);
    putLittleEndian(header, static_cast<std::uint32_t>(form.height), 4);
    putLittleEndian(header, 1, 2);
    putLittleEndian(header, form.bitCount, 2);
    putLittleEndian(header, form.compression, 4);
    putLittleEndian(header, static_cast<std::uint32_t>(pixels.size()), 4);
    putLittleEndian(header, 2835, 4);  // 72 dots per inch, both ways
    putLittleEndian(header, 2835, 4);
    putLittleEndian(header, form.colourCount, 4);
    putLittleEndian(header, 0, 4);
    for (std::uint32_t mask : form.masks) putLittleEndian(header, mask, 4);  // after the header or inside it
    header.resize(std::max<std::size_t>(header.size(), form.headerSize), '\0');
  }
  for (std::uint32_t colour : form.colourTable) putLittleEndian(header, colour, form.headerSize == 12 ? 3 : 4);
  std::string file = "BM";
  putLittleEndian(file, static_cast<std::uint32_t>(14 + header.size() + pixels.size()), 4);
  putLittleEndian(file, 0, 4);
  putLittleEndian(file, static_cast<std::uint32_t>(14 + header.size()), 4);
  return file + header + pixels;
}

// A 24-bit bottom-up bitmap of one colour (0xRRGGBB), as large as asked.
inline std::string plainBitmap(int width, int height, std::uint32_t colour) {
  std::string row;
  for (int x = 0; x < width; ++x) putLittleEndian(row, colour, 3);
  row.resize((row.size() + 3) / 4 * 4, '\0');
  std::string pixels;
  pixels.reserve(row.size() * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) pixels += row;
  return bitmapFile({40, width, height, 24, 0, 0, {}, {}}, pixels);
}

// A run-length coded 8-bit bitmap of one colour: small on disk whatever its size.
inline std::string runLengthBitmap(int width, int height, std::uint32_t colour) {
  std::string row;
  for (int left = width; left > 0; left -= 255) row += {static_cast<char>(std::min(left, 255)), '\0'};
  row += std::string("\0\0", 2);
  std::string pixels;
  pixels.reserve(row.size() * static_cast<std::size_t>(height) + 2);
  for (int y = 0; y < height; ++y) pixels += row;
  pixels += std::string("\0\1", 2);
  return bitmapFile({40, width, height, 8, 1, 1, {colour}, {}}, pixels);
}

}  // namespace averlune::test
