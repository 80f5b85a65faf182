#include "pictures/picture_file_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "pictures/bitmap_readback_test_support_win.h"
#include "pictures/bitmap_test_support.h"
#include "pictures/picture_test_support.h"
#include "base/temp_folder_test_support.h"
#include "pictures/window_pictures_win.h"
#include "resources/resource_ids.h"

namespace averlune {
namespace {

std::string builtInSeparatorJpeg() {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(IDR_WIZARD_SEPARATOR), MAKEINTRESOURCEW(10));
  HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return data ? std::string(data, SizeofResource(self, found)) : std::string();
}

TEST(LoadPictureFile, ReadsBitmapsAndJpegsByTheirContentNotTheirName) {
  const TempFolder temp;
  // Named as the wizard's JPEG picture, holding a bitmap; and a JPEG without a telling name.
  const std::u16string bitmap = temp.write(u"Image_Top.jpg", test::plainBitmap(5, 4, 0x102030));
  const std::u16string jpeg = temp.write(u"isps.dat", builtInSeparatorJpeg());
  Picture picture;
  ASSERT_TRUE(loadPictureFile(bitmap, PictureFormats::bitmapOrJpeg, picture));
  EXPECT_EQ(picture.width, 5);
  EXPECT_EQ(picture.height, 4);
  EXPECT_EQ(picture.rgb[0], 0x10);
  ASSERT_TRUE(loadPictureFile(jpeg, PictureFormats::bitmapOrJpeg, picture));
  EXPECT_EQ(picture.width, 497);
  EXPECT_EQ(picture.height, 2);

  std::filesystem::create_directory(temp.path / "folder.dat");
  const std::u16string unreadable[] = {
      temp.folder() + u"missing.dat",
      temp.folder() + u"folder.dat",
      temp.write(u"empty.dat", ""),
      temp.write(u"text.dat", "a picture, honestly"),
      temp.write(u"huge.dat", test::runLengthBitmap(16000, 16000, 0xFF0000)),  // whole, but too large
  };
  for (const std::u16string& path : unreadable) {
    Picture refused = test::pictureOf(1, 1, {1, 2, 3});
    EXPECT_FALSE(loadPictureFile(path, PictureFormats::bitmapOrJpeg, refused)) << std::filesystem::path(path).string();
    EXPECT_TRUE(refused.rgb.empty());
  }
}

TEST(BitmapFromPicture, HoldsThePixelsForWindows) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 18; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 14));
  const Picture picture = test::pictureOf(3, 2, bytes);
  const OwnedGdiObject bitmap(bitmapFromPicture(picture));
  ASSERT_TRUE(bitmap);
  const Picture back = test::pictureOfBitmap(static_cast<HBITMAP>(bitmap.get()));
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.height, 2);
  EXPECT_EQ(test::bytesOf(back), bytes);
  EXPECT_FALSE(bitmapFromPicture(Picture{}));
}

}  // namespace
}  // namespace averlune
