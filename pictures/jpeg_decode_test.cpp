#include "pictures/jpeg_decode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

#include "pictures/picture_test_support.h"

namespace averlune {
namespace {

// How a test picture is stored: the ways a picture author's tool writes JPEG files.
struct JpegForm {
  int width;
  int height;
  J_COLOR_SPACE colours;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
  bool progressive = false;
  bool fullChroma = false;  // 4:4:4 instead of the encoder's 4:2:0
  int restartRows = 0;      // a restart marker every so many MCU rows, 0 for none
};

struct Rgb {
  int red, green, blue;
};

// The test picture: four quadrants, red and green on top, blue and white below.
Rgb quadrantColour(int x, int y, int width, int height) {
  const bool right = x >= width / 2, bottom = y >= height / 2;
  if (!bottom) return right ? Rgb{0, 255, 0} : Rgb{255, 0, 0};
  return right ? Rgb{255, 255, 255} : Rgb{0, 0, 255};
}

// The quadrant picture written as a JPEG by libjpeg's own encoder, at the best quality.
std::string jpegFile(const JpegForm& form) {
  jpeg_compress_struct encoder{};
  jpeg_error_mgr errors{};
  encoder.err = jpeg_std_error(&errors);
  jpeg_create_compress(&encoder);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&encoder, &buffer, &size);
  const int components = form.colours == JCS_GRAYSCALE ? 1 : form.colours == JCS_CMYK ? 4 : 3;
  encoder.image_width = static_cast<JDIMENSION>(form.width);
  encoder.image_height = static_cast<JDIMENSION>(form.height);
  encoder.input_components = components;
  encoder.in_color_space = form.colours;
  jpeg_set_defaults(&encoder);
  jpeg_set_quality(&encoder, 100, TRUE);
  if (form.fullChroma) encoder.comp_info[0].h_samp_factor = encoder.comp_info[0].v_samp_factor = 1;
  if (form.progressive) jpeg_simple_progression(&encoder);
  encoder.restart_in_rows = form.restartRows;
  jpeg_start_compress(&encoder, TRUE);
  std::string row(static_cast<std::size_t>(form.width) * components, '\0');
  while (encoder.next_scanline < encoder.image_height) {
    const int y = static_cast<int>(encoder.next_scanline);
    for (int x = 0; x < form.width; ++x) {
      const Rgb c = quadrantColour(x, y, form.width, form.height);
      char* pixel = &row[static_cast<std::size_t>(x) * components];
      if (components == 1) {
        pixel[0] = static_cast<char>((c.red + c.green + c.blue) / 3);
      } else if (components == 3) {
        pixel[0] = static_cast<char>(c.red), pixel[1] = static_cast<char>(c.green), pixel[2] = static_cast<char>(c.blue);
      } else {
        pixel[0] = static_cast<char>(255 - c.red), pixel[1] = static_cast<char>(255 - c.green);
        pixel[2] = static_cast<char>(255 - c.blue), pixel[3] = 0;
      }
    }
    JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(row.data())};
    jpeg_write_scanlines(&encoder, rows, 1);
  }
  jpeg_finish_compress(&encoder);
  jpeg_destroy_compress(&encoder);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

// The contract on every input: a whole picture of the stated size, or an empty one.
void expectWholeOrEmpty(bool decoded, const Picture& picture, int width, int height, const std::string& what) {
  if (decoded) {
    EXPECT_EQ(picture.width, width) << what;
    EXPECT_EQ(picture.height, height) << what;
    EXPECT_EQ(picture.rgb.size(), static_cast<std::size_t>(width) * height * 3) << what;
  } else {
    EXPECT_EQ(picture.width, 0) << what;
    EXPECT_EQ(picture.height, 0) << what;
    EXPECT_TRUE(picture.rgb.empty()) << what;
  }
}

// Where the frame header (SOF0 or SOF2) starts; its height and width follow the marker at 5 and 7.
std::size_t frameHeaderAt(const std::string& bytes) {
  const std::size_t baseline = bytes.find("\xFF\xC0");
  return baseline != std::string::npos ? baseline : bytes.find("\xFF\xC2");
}

TEST(DecodeJpeg, EveryCommonFormGivesTheQuadrantPicture) {
  const struct {
    const char* name;
    JpegForm form;
  } rows[] = {
      {"baseline, 4:2:0", {32, 32, JCS_RGB}},
      {"progressive, 4:2:0", {32, 32, JCS_RGB, true}},
      {"baseline, 4:4:4, a size no MCU divides, restart markers", {17, 5, JCS_RGB, false, true, 1}},
      {"progressive, 4:4:4, one pixel wide", {1, 9, JCS_RGB, true, true}},
      {"grey levels", {16, 16, JCS_GRAYSCALE}},
      {"one pixel", {1, 1, JCS_RGB}},
  };
  for (const auto& row : rows) {
    const JpegForm& form = row.form;
    Picture picture = test::pictureOf(1, 1, {1, 2, 3});
    ASSERT_TRUE(decodeJpeg(jpegFile(form), picture)) << row.name;
    expectWholeOrEmpty(true, picture, form.width, form.height, row.name);
    // Each pixel near its stored colour; grey pictures give equal red, green and blue.
    for (int y = 0; y < form.height; ++y) {
      for (int x = 0; x < form.width; ++x) {
        const Rgb c = quadrantColour(x, y, form.width, form.height);
        const std::uint8_t* got = &picture.rgb[(static_cast<std::size_t>(y) * form.width + x) * 3];
        // 4:2:0 blends colour across quadrant edges; its rows are checked away from them.
        const bool nearEdge = !form.fullChroma && form.colours == JCS_RGB &&
                              (std::abs(2 * x + 1 - form.width) < 8 || std::abs(2 * y + 1 - form.height) < 8);
        if (nearEdge) continue;
        const int grey = (c.red + c.green + c.blue) / 3;
        const Rgb want = form.colours == JCS_GRAYSCALE ? Rgb{grey, grey, grey} : c;
        const std::string at = std::string(row.name) + " at " + std::to_string(x) + "," + std::to_string(y);
        EXPECT_NEAR(got[0], want.red, 6) << at;
        EXPECT_NEAR(got[1], want.green, 6) << at;
        EXPECT_NEAR(got[2], want.blue, 6) << at;
      }
    }
  }
}

TEST(DecodeJpeg, ColoursItCannotShowAreRefused) {
  // Ink colours are not screen colours: a CMYK picture is unreadable, not shown wrong.
  Picture picture = test::pictureOf(1, 1, {1, 2, 3});
  EXPECT_FALSE(decodeJpeg(jpegFile({8, 8, JCS_CMYK}), picture));
  expectWholeOrEmpty(false, picture, 0, 0, "CMYK");
}

TEST(DecodeJpeg, EveryCutAndEveryDamagedByteGivesAWholePictureOrNone) {
  for (const JpegForm& form : {JpegForm{24, 16, JCS_RGB, false, false, 1}, JpegForm{24, 16, JCS_RGB, true}}) {
    const std::string good = jpegFile(form);
    const std::size_t scan = good.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    for (std::size_t length = 0; length < good.size(); ++length) {
      Picture picture = test::pictureOf(1, 1, {1, 2, 3});
      const bool decoded = decodeJpeg(good.substr(0, length), picture);
      const std::string what = "cut at " + std::to_string(length);
      // Cut before the first scan starts, there is no picture at all; later, libjpeg may fill
      // the missing rows, but never hands out a partial picture.
      if (length <= scan + 2) {
        EXPECT_FALSE(decoded) << what;
      }
      expectWholeOrEmpty(decoded, picture, form.width, form.height, what);
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
      for (const unsigned char value : {0x00, 0xFF, 0x80}) {
        std::string damaged = good;
        damaged[at] = static_cast<char>(value);
        Picture picture;
        const bool decoded = decodeJpeg(damaged, picture);
        // A changed frame header may state another size; the picture must then have that size.
        const int width = decoded ? picture.width : 0, height = decoded ? picture.height : 0;
        expectWholeOrEmpty(decoded, picture, width, height, "byte " + std::to_string(at) + " set to " +
                                                                std::to_string(value));
        if (decoded) {
          EXPECT_TRUE(pictureFitsMemoryBound(width, height));
        }
      }
    }
  }
  for (const std::string& bytes : {std::string(), std::string("not a picture"), std::string("\xFF\xD8\xFF"),
                                   std::string(4096, '\xFF')}) {
    Picture picture = test::pictureOf(1, 1, {1, 2, 3});
    EXPECT_FALSE(decodeJpeg(bytes, picture)) << bytes.size();
    expectWholeOrEmpty(false, picture, 0, 0, "not a JPEG");
  }
}

TEST(DecodeJpeg, APictureBeyondTheMemoryBoundIsRefused) {
  // The pictures' real data is 16 x 16; only the frame header states the size, so a decoder that
  // believed it would ask for the memory (up to 12 GiB) before it found the data short.
  for (const bool progressive : {false, true}) {
    const std::string good = jpegFile({16, 16, JCS_RGB, progressive});
    const std::size_t frame = frameHeaderAt(good);
    ASSERT_NE(frame, std::string::npos);
    for (const auto& [width, height] : {std::pair{8192, 5462}, std::pair{16000, 16000}, std::pair{65500, 65500},
                                        std::pair{65535, 1}}) {
      std::string huge = good;
      huge[frame + 5] = static_cast<char>(height >> 8);
      huge[frame + 6] = static_cast<char>(height & 0xFF);
      huge[frame + 7] = static_cast<char>(width >> 8);
      huge[frame + 8] = static_cast<char>(width & 0xFF);
      Picture picture = test::pictureOf(1, 1, {1, 2, 3});
      const std::string what = std::to_string(width) + " x " + std::to_string(height);
      if (pictureFitsMemoryBound(width, height)) {
        // A long thin picture within the bound is taken, its missing rows filled.
        expectWholeOrEmpty(decodeJpeg(huge, picture), picture, width, height, what);
      } else {
        EXPECT_FALSE(decodeJpeg(huge, picture)) << what;
        expectWholeOrEmpty(false, picture, 0, 0, what);
      }
    }
  }
}

}  // namespace
}  // namespace averlune
