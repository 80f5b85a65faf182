#include "pictures/bitmap_decode.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "pictures/bitmap_test_support.h"
#include "pictures/picture_test_support.h"

namespace averlune {
namespace {

using test::BitmapForm;
using test::bitmapFile;

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

std::vector<std::uint8_t> rgbOf(std::initializer_list<std::uint32_t> colours) {
  std::vector<std::uint8_t> out;
  for (std::uint32_t c : colours) {
    out.push_back(static_cast<std::uint8_t>(c >> 16));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
    out.push_back(static_cast<std::uint8_t>(c));
  }
  return out;
}

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0,
                        kYellow = 0xFFFF00;

// Six colours indexed 0 to 5, then as many black entries as `entries` asks.
std::vector<std::uint32_t> sixColours(std::size_t entries = 6) {
  std::vector<std::uint32_t> table = {kRed, kGreen, kBlue, kWhite, kBlack, kYellow};
  table.resize(entries, 0);
  return table;
}

TEST(DecodeBitmap, EveryStoredFormGivesTheSamePicture) {
  // 3 x 2: red, green, blue on top; white, black, yellow below. Bytes run blue, green, red.
  const std::vector<std::uint8_t> expected = rgbOf({kRed, kGreen, kBlue, kWhite, kBlack, kYellow});
  const std::string bottomUp24 = bytes({0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0,  //
                                        0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0});
  const std::string rgbx32 = bytes({0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0,  //
                                    0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0});
  const std::vector<std::uint32_t> rgbxMasks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  const std::string indexes8 = bytes({3, 4, 5, 0, 0, 1, 2, 0});
  const std::string indexes4 = bytes({0x34, 0x50, 0, 0, 0x01, 0x20, 0, 0});
  const struct {
    const char* name;
    BitmapForm form;
    std::string pixels;
  } rows[] = {
      {"24 bits, bottom row first", {40, 3, 2, 24}, bottomUp24},
      {"24 bits, top row first",
       {40, 3, -2, 24},
       bytes({0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0})},
      {"24 bits, core header", {12, 3, 2, 24}, bottomUp24},
      {"32 bits, the fourth byte ignored",
       {40, 3, 2, 32},
       bytes({0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0x7F, 0, 0xFF, 0xFF, 0x7F,  //
              0, 0, 0xFF, 0x7F, 0, 0xFF, 0, 0x7F, 0xFF, 0, 0, 0x7F})},
      {"32 bits, bit fields after the header", {40, 3, 2, 32, 3, 0, {}, rgbxMasks}, rgbx32},
      {"32 bits, bit fields inside a version 5 header", {124, 3, 2, 32, 3, 0, {}, rgbxMasks}, rgbx32},
      {"16 bits, 5-5-5",
       {40, 3, 2, 16},
       bytes({0xFF, 0x7F, 0, 0, 0xE0, 0x7F, 0, 0, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0, 0, 0})},
      {"16 bits, 5-6-5 bit fields",
       {40, 3, 2, 16, 3, 0, {}, {0xF800, 0x07E0, 0x001F}},
       bytes({0xFF, 0xFF, 0, 0, 0xE0, 0xFF, 0, 0, 0x00, 0xF8, 0xE0, 0x07, 0x1F, 0, 0, 0})},
      {"8 bits, six colours", {40, 3, 2, 8, 0, 6, sixColours()}, indexes8},
      {"8 bits, core header with a full table of three-byte colours", {12, 3, 2, 8, 0, 0, sixColours(256)}, indexes8},
      {"4 bits, a full table", {40, 3, 2, 4, 0, 0, sixColours(16)}, indexes4},
      {"8 bits run-length coded: a literal run, a line end, three runs, the end",
       {40, 3, 2, 8, 1, 6, sixColours()},
       bytes({0, 3, 3, 4, 5, 0, 0, 0, 1, 0, 1, 1, 1, 2, 0, 1})},
      {"4 bits run-length coded: odd literal run, alternating run",
       {40, 3, 2, 4, 2, 6, sixColours()},
       bytes({0, 3, 0x34, 0x50, 0, 0, 2, 0x01, 1, 0x20, 0, 1})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Picture picture;
    ASSERT_TRUE(decodeBitmap(bitmapFile(row.form, row.pixels), picture));
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 2);
    EXPECT_EQ(test::bytesOf(picture), expected);
  }
}

TEST(DecodeBitmap, OneBitPixelsRunAcrossBytesFromTheTopBit) {
  // 1011001110, then the rest of the 4-byte row.
  const std::string file = bitmapFile({40, 10, 1, 1, 0, 0, {kBlack, kWhite}}, bytes({0xB3, 0x80, 0, 0}));
  Picture picture;
  ASSERT_TRUE(decodeBitmap(file, picture));
  EXPECT_EQ(test::bytesOf(picture), rgbOf({kWhite, kBlack, kWhite, kWhite, kBlack, kBlack, kWhite, kWhite, kWhite, kBlack}));
}

TEST(DecodeBitmap, RunLengthDataStaysInsideThePicture) {
  // 4 x 3. Bottom line: two green, then a jump two right and one up, a red pixel there and a
  // run that would pass the right edge; a line end; an index past the table; the data just stops.
  const std::string file = bitmapFile({40, 4, 3, 8, 1, 2, {kRed, kGreen}},
                                      bytes({2, 1, 0, 2, 1, 1, 1, 0, 200, 1, 0, 0, 3, 7, 0}));
  Picture picture;
  ASSERT_TRUE(decodeBitmap(file, picture));
  EXPECT_EQ(test::bytesOf(picture), rgbOf({kBlack, kBlack, kBlack, kBlack,  //
                                kBlack, kBlack, kBlack, kRed,     //
                                kGreen, kGreen, kBlack, kBlack}));
}

TEST(DecodeBitmap, WhatCannotBeReadLeavesAnEmptyPicture) {
  const std::string good = test::plainBitmap(3, 2, kBlue);
  std::string farPixels = good;
  farPixels[13] = '\x7F';  // the pixel rows would start 2 GiB into the file
  std::string notBm = good;
  notBm[0] = 'X';
  const struct {
    const char* name;
    std::string file;
  } rows[] = {
      {"empty", ""},
      {"only the signature", "BM"},
      {"not a bitmap", notBm},
      {"cut inside the info header", good.substr(0, 30)},
      {"pixel rows one byte short", good.substr(0, good.size() - 1)},
      {"pixel rows past the end", farPixels},
      {"an unknown header size", bitmapFile({20, 3, 2, 24}, std::string(24, '\0'))},
      {"zero wide", bitmapFile({40, 0, 2, 24}, "")},
      {"zero high", bitmapFile({40, 3, 0, 24}, "")},
      {"negative width", bitmapFile({40, -3, 2, 24}, std::string(24, '\0'))},
      {"2 bits a pixel", bitmapFile({40, 3, 2, 2, 0, 0, {1, 2, 3, 4}}, std::string(8, '\0'))},
      {"a JPEG inside", bitmapFile({40, 3, 2, 24, 4}, std::string(24, '\0'))},
      {"run-length coded 24 bits", bitmapFile({40, 3, 2, 24, 1}, bytes({0, 1}))},
      {"run-length coded, top row first", bitmapFile({40, 3, -2, 8, 1, 1, {kRed}}, bytes({0, 1}))},
      {"bit fields of 24 bits", bitmapFile({40, 3, 2, 24, 3, 0, {}, {0xFF, 0xFF00, 0xFF0000}}, std::string(24, '\0'))},
      {"bit fields whose masks are missing", bitmapFile({40, 3, 2, 16, 3}, "").substr(0, 54)},
      {"a colour table past the end", bitmapFile({40, 3, 2, 8, 0, 0, sixColours()}, std::string(8, '\0'))},
      {"16000 x 16000 stated, nothing stored", bitmapFile({40, 16000, 16000, 24}, "")},
      {"16000 x 16000 run-length coded, whole", test::runLengthBitmap(16000, 16000, kRed)},
      {"just past the memory bound", bitmapFile({40, 8192, 5462, 24}, "")},
      {"the most negative height", bitmapFile({40, 1, INT32_MIN, 24}, "")},
  };
  for (const auto& row : rows) {
    Picture picture = test::pictureOf(1, 1, {1, 2, 3});
    EXPECT_FALSE(decodeBitmap(row.file, picture)) << row.name;
    EXPECT_EQ(picture.width, 0) << row.name;
    EXPECT_TRUE(picture.rgb.empty()) << row.name;
  }
}

TEST(DecodeBitmap, ALargePlainBitmapDecodesWhole) {
  // The size of the sample's splash picture; rows of 517 pixels need a byte of padding.
  Picture picture;
  ASSERT_TRUE(decodeBitmap(test::plainBitmap(517, 707, 0x336699), picture));
  ASSERT_EQ(picture.rgb.size(), 517u * 707 * 3);
  EXPECT_EQ(picture.rgb[0], 0x33);
  EXPECT_EQ(picture.rgb[picture.rgb.size() - 1], 0x99);
}

}  // namespace
}  // namespace averlune
