// The bitmap decoder against the system's own: each stored form, loaded both ways, gives the same
// pixels. Three forms are left to the host tests because the system loader under Wine is not exact
// for them: top-row-first files (it gives a black picture), 5-6-5 bit fields (it narrows green to
// 5 bits) and colour tables of the core header (it alters an entry).
#include "pictures/bitmap_decode.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "pictures/bitmap_readback_test_support_win.h"
#include "pictures/bitmap_test_support.h"
#include "base/owned_handle_win.h"
#include "pictures/picture_test_support.h"
#include "base/temp_folder_test_support.h"

namespace averlune {
namespace {

using test::BitmapForm;
using test::bitmapFile;
using test::putLittleEndian;

constexpr int kWidth = 37;  // odd, so that every depth pads its rows
constexpr int kHeight = 23;

// The picture as the system decodes it, loaded from a file.
Picture systemDecoded(const std::string& file, const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / "picture.bmp";
  std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
  const OwnedGdiObject bitmap(
      LoadImageW(nullptr, path.wstring().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  return test::pictureOfBitmap(static_cast<HBITMAP>(bitmap.get()));
}

// Pixel values that change along both axes, so that a row or column out of place shows.
std::uint32_t valueAt(int x, int y) { return static_cast<std::uint32_t>(x * 7 + y * 13 + x * y); }

std::string packedRows(int bitCount) {
  std::string pixels;
  for (int r = 0; r < kHeight; ++r) {
    const int y = kHeight - 1 - r;
    std::string row;
    std::uint32_t bits = 0;
    int pending = 0;
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t v = valueAt(x, y);
      if (bitCount <= 8) {
        bits = (bits << bitCount) | (v & ((1u << bitCount) - 1));
        pending += bitCount;
        if (pending == 8) {
          row.push_back(static_cast<char>(bits));
          bits = 0;
          pending = 0;
        }
      } else {
        putLittleEndian(row, v * 0x010307u + 0x0A141E, bitCount / 8);
      }
    }
    if (pending) row.push_back(static_cast<char>(bits << (8 - pending)));
    row.resize((row.size() + 3) / 4 * 4, '\0');
    pixels += row;
  }
  return pixels;
}

// Run-length data mixing repeated runs and literal runs, row by row from the bottom.
std::string runLengthRows(bool nibbles) {
  std::string pixels;
  const std::uint32_t mask = nibbles ? 0x0F : 0xFF;
  for (int y = kHeight - 1; y >= 0; --y) {
    int x = 0;
    while (x < kWidth) {
      const std::uint32_t v = valueAt(x, y) & mask;
      if (x % 10 < 5) {  // a run of up to four of one index
        const int count = std::min(4, kWidth - x);
        pixels.push_back(static_cast<char>(count));
        pixels.push_back(static_cast<char>(nibbles ? (v << 4 | v) : v));
        x += count;
      } else {  // a literal run of five indexes
        const int count = std::min(5, kWidth - x);
        if (count < 3) {
          pixels += {1, static_cast<char>(nibbles ? (v << 4) : v)};
          ++x;
          continue;
        }
        std::string literal;
        for (int i = 0; i < count; ++i) {
          const std::uint32_t index = valueAt(x + i, y) & mask;
          if (!nibbles) literal.push_back(static_cast<char>(index));
          else if (i % 2 == 0) literal.push_back(static_cast<char>(index << 4));
          else literal.back() = static_cast<char>(literal.back() | index);
        }
        if (literal.size() % 2) literal.push_back('\0');
        pixels += {0, static_cast<char>(count)};
        pixels += literal;
        x += count;
      }
    }
    pixels += std::string("\0\0", 2);
  }
  return pixels + std::string("\0\1", 2);
}

std::vector<std::uint32_t> colourTable(std::size_t entries) {
  std::vector<std::uint32_t> table;
  for (std::size_t i = 0; i < entries; ++i) table.push_back(static_cast<std::uint32_t>(i * 0x3F1D07 + 0x102030) & 0xFFFFFF);
  return table;
}

TEST(DecodeBitmapAgainstWindows, EveryFormDecodesAsTheSystemDecodesIt) {
  const TempFolder temp;
  const struct {
    const char* name;
    BitmapForm form;
    std::string pixels;
  } rows[] = {
      {"24 bits", {40, kWidth, kHeight, 24}, packedRows(24)},
      {"24 bits, core header", {12, kWidth, kHeight, 24}, packedRows(24)},
      {"32 bits", {40, kWidth, kHeight, 32}, packedRows(32)},
      {"16 bits, 5-5-5", {40, kWidth, kHeight, 16}, packedRows(16)},
      {"32 bits, bit fields", {40, kWidth, kHeight, 32, 3, 0, {}, {0xFF0000, 0xFF00, 0xFF}}, packedRows(32)},
      {"8 bits", {40, kWidth, kHeight, 8, 0, 0, colourTable(256)}, packedRows(8)},
      {"4 bits", {40, kWidth, kHeight, 4, 0, 16, colourTable(16)}, packedRows(4)},
      {"1 bit", {40, kWidth, kHeight, 1, 0, 2, colourTable(2)}, packedRows(1)},
      {"8 bits, run-length coded", {40, kWidth, kHeight, 8, 1, 0, colourTable(256)}, runLengthRows(false)},
      {"4 bits, run-length coded", {40, kWidth, kHeight, 4, 2, 16, colourTable(16)}, runLengthRows(true)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string file = bitmapFile(row.form, row.pixels);
    const Picture system = systemDecoded(file, temp.path);
    ASSERT_EQ(system.width, kWidth);
    ASSERT_EQ(system.height, kHeight);
    Picture ours;
    ASSERT_TRUE(decodeBitmap(file, ours));
    EXPECT_EQ(ours.width, kWidth);
    EXPECT_EQ(ours.height, kHeight);
    EXPECT_EQ(test::bytesOf(ours), test::bytesOf(system));
  }
}

}  // namespace
}  // namespace averlune
