#include "pictures/jpeg_decode.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "pictures/picture_test_support.h"
#include "resources/resource_ids.h"

namespace averlune {
namespace {

// The separator line compiled into the program: a real JPEG of 497 x 2 pixels, grey over white.
std::string separatorJpeg() {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(IDR_WIZARD_SEPARATOR), MAKEINTRESOURCEW(10));
  HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return data ? std::string(data, SizeofResource(self, found)) : std::string();
}

TEST(DecodeJpeg, DecodesTheBuiltInSeparator) {
  const std::string bytes = separatorJpeg();
  ASSERT_FALSE(bytes.empty());
  Picture picture;
  ASSERT_TRUE(decodeJpeg(bytes, picture));
  EXPECT_EQ(picture.width, 497);
  EXPECT_EQ(picture.height, 2);
  ASSERT_EQ(picture.rgb.size(), 497u * 2 * 3);
  EXPECT_NEAR(picture.rgb[0], 160, 2);           // the grey line
  EXPECT_NEAR(picture.rgb[497 * 3 + 3], 255, 2);  // the white line under it
}

TEST(DecodeJpeg, AnythingElseFailsWithoutEndingTheProcess) {
  const std::string good = separatorJpeg();
  ASSERT_GT(good.size(), 700u);
  std::string twelveBit = good;
  const std::size_t frame = twelveBit.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  twelveBit[frame + 4] = 12;  // a sample precision this decoder does not take
  const std::string rows[] = {
      "",
      "this is not a picture",
      "\xFF\xD8\xFF",                   // a start marker and nothing after it
      good.substr(0, 200),              // cut inside the headers
      twelveBit,
      std::string(4096, '\xFF'),
  };
  for (const std::string& bytes : rows) {
    Picture picture = test::pictureOf(1, 1, {1, 2, 3});
    EXPECT_FALSE(decodeJpeg(bytes, picture)) << bytes.size();
    EXPECT_TRUE(picture.rgb.empty());
    EXPECT_EQ(picture.width, 0);
  }
}

TEST(DecodeJpeg, APictureBeyondTheMemoryBoundIsRefusedBeforeItsMemoryIsAskedFor) {
  const std::string good = separatorJpeg();
  const std::size_t frame = good.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  for (const auto& size : {std::pair{16000, 16000}, std::pair{65500, 65500}, std::pair{8192, 5462}}) {
    std::string huge = good;
    huge[frame + 5] = static_cast<char>(size.second >> 8);  // height, then width, big-endian
    huge[frame + 6] = static_cast<char>(size.second & 0xFF);
    huge[frame + 7] = static_cast<char>(size.first >> 8);
    huge[frame + 8] = static_cast<char>(size.first & 0xFF);
    Picture picture;
    EXPECT_FALSE(decodeJpeg(huge, picture)) << size.first << " x " << size.second;
    EXPECT_TRUE(picture.rgb.empty());
  }
}

TEST(DecodeJpeg, DataCutShortInTheScanStillGivesAWholePicture) {
  // libjpeg fills the missing rows itself; what matters is a picture of the right size and no crash.
  const std::string good = separatorJpeg();
  Picture picture;
  if (decodeJpeg(good.substr(0, good.size() - 400), picture)) {
    EXPECT_EQ(picture.rgb.size(), 497u * 2 * 3);
  } else {
    EXPECT_TRUE(picture.rgb.empty());
  }
}

}  // namespace
}  // namespace averlune
