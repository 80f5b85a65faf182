// Decodes arbitrary bytes as the splash picture is decoded (a bitmap file when they start like one,
// a JPEG otherwise) and checks that a picture comes out whole and within the memory bound, or not
// at all, and that no error inside libjpeg ends the process.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pictures/picture_decode.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace averlune;
  Picture picture;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (decodePicture(bytes, PictureFormats::bitmapOrJpeg, picture)) {
    require(pictureFitsMemoryBound(picture.width, picture.height));
    require(picture.rgb.size() == static_cast<std::size_t>(picture.width) * picture.height * 3);
  } else {
    require(picture.width == 0 && picture.height == 0 && picture.rgb.empty());
  }
  return 0;
}
