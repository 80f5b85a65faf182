#include "pictures/picture.h"

#include <gtest/gtest.h>

#include "pictures/picture_test_support.h"

namespace averlune {
namespace {

Picture filled(int width, int height, std::uint8_t (*colour)(int x, int y, int channel)) {
  std::vector<std::uint8_t> bytes;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) bytes.push_back(colour(x, y, c));
  return test::pictureOf(width, height, bytes);
}

TEST(ScalePicture, ShrinksByAveragingWithoutKeepingTheAspectRatio) {
  // Left half black, right half white, 800 x 100, into the 55 x 55 header size.
  const Picture wide = filled(800, 100, [](int x, int, int) -> std::uint8_t { return x < 400 ? 0 : 255; });
  const Picture small = scalePicture(wide, 55, 55);
  ASSERT_EQ(small.width, 55);
  ASSERT_EQ(small.height, 55);
  ASSERT_EQ(small.rgb.size(), 55u * 55 * 3);
  EXPECT_EQ(small.rgb[0], 0);
  EXPECT_EQ(small.rgb[(54 * 55 + 54) * 3], 255);
  // The middle column straddles the edge and averages both halves.
  const std::uint8_t middle = small.rgb[(10 * 55 + 27) * 3];
  EXPECT_GT(middle, 0);
  EXPECT_LT(middle, 255);
}

TEST(ScalePicture, StretchesSmallPicturesAndKeepsChannels) {
  const Picture tiny = filled(2, 1, [](int x, int, int c) -> std::uint8_t { return x == 0 ? (c == 0 ? 200 : 0) : 50; });
  const Picture big = scalePicture(tiny, 164, 314);
  ASSERT_EQ(big.rgb.size(), 164u * 314 * 3);
  EXPECT_EQ(big.rgb[0], 200);
  EXPECT_EQ(big.rgb[1], 0);
  EXPECT_EQ(big.rgb[(313 * 164 + 163) * 3 + 2], 50);
}

TEST(ScalePicture, EmptyOrShortInputGivesAnEmptyPicture) {
  EXPECT_TRUE(scalePicture(Picture{}, 55, 55).rgb.empty());
  EXPECT_TRUE(scalePicture(test::pictureOf(4, 4, std::vector<std::uint8_t>(10)), 55, 55).rgb.empty());
  EXPECT_TRUE(scalePicture(filled(3, 3, [](int, int, int) -> std::uint8_t { return 1; }), 0, 5).rgb.empty());
}

TEST(PictureMemoryBound, SizesAreTakenUpToTheBoundAndNoFurther) {
  const struct {
    std::int64_t width, height;
    bool fits;
  } rows[] = {
      {1, 1, true},
      {517, 707, true},
      {7680, 4320, true},          // a screen of 8K
      {8192, 5461, true},          // 44,736,512 pixels
      {8192, 5462, false},         // 44,744,704 pixels: 3 bytes each pass 128 MiB
      {1, 44739242, true},         // the most pixels that fit, in one column
      {44739242, 1, true},         // and in one row
      {1, 44739243, false},
      {16000, 16000, false},
      {16384, 16384, false},
      {0, 10, false},
      {10, 0, false},
      {-1, -1, false},
      {std::int64_t{1} << 40, std::int64_t{1} << 40, false},  // the product would overflow
  };
  for (const auto& row : rows) {
    EXPECT_EQ(pictureFitsMemoryBound(row.width, row.height), row.fits) << row.width << " x " << row.height;
  }
}

TEST(PictureMemoryBound, AllocationIsBlackAndARefusalLeavesAnEmptyPicture) {
  Picture picture;
  ASSERT_TRUE(allocatePicture(picture, 3, 2));
  EXPECT_EQ(picture.width, 3);
  EXPECT_EQ(picture.height, 2);
  EXPECT_EQ(test::bytesOf(picture), std::vector<std::uint8_t>(18, 0));

  for (const auto& size : {std::pair{16000, 16000}, std::pair{0, 5}, std::pair{5, -5}}) {
    Picture refused = test::pictureOf(2, 2, std::vector<std::uint8_t>(12, 7));
    EXPECT_FALSE(allocatePicture(refused, size.first, size.second));
    EXPECT_EQ(refused.width, 0);
    EXPECT_EQ(refused.height, 0);
    EXPECT_TRUE(refused.rgb.empty());
  }
}

}  // namespace
}  // namespace averlune
