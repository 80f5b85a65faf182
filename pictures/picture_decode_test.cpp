#include "pictures/picture_decode.h"

#include <gtest/gtest.h>

#include "pictures/bitmap_test_support.h"

namespace averlune {
namespace {

// A bitmap is read only where bitmaps are allowed (the splash picture); the wizard's pictures are
// JPEG files, so the same bytes there are refused, as the builder's check says they will be.
TEST(DecodePicture, ReadsABitmapOnlyWhereBitmapsAreAllowed) {
  const std::string bitmap = test::plainBitmap(5, 4, 0x102030);
  Picture picture;
  ASSERT_TRUE(decodePicture(bitmap, PictureFormats::bitmapOrJpeg, picture));
  EXPECT_EQ(picture.width, 5);
  EXPECT_EQ(picture.height, 4);
  EXPECT_FALSE(decodePicture(bitmap, PictureFormats::jpeg, picture));
  EXPECT_TRUE(picture.rgb.empty());
  EXPECT_FALSE(decodePicture("BM but nothing else", PictureFormats::bitmapOrJpeg, picture));
}

}  // namespace
}  // namespace averlune
