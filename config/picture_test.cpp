#include "config/picture.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

Picture filled(int width, int height, std::uint8_t (*colour)(int x, int y, int channel)) {
  Picture p{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) p.rgb.push_back(colour(x, y, c));
  return p;
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
  EXPECT_TRUE(scalePicture(Picture{4, 4, std::vector<std::uint8_t>(10)}, 55, 55).rgb.empty());
  EXPECT_TRUE(scalePicture(filled(3, 3, [](int, int, int) -> std::uint8_t { return 1; }), 0, 5).rgb.empty());
}

}  // namespace
}  // namespace averlune
