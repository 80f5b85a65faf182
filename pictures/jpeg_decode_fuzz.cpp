// Decodes arbitrary bytes as a JPEG file and checks that a picture comes out whole and within the
// memory bound, or not at all, and that no error inside libjpeg ends the process.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pictures/jpeg_decode.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace averlune;
  Picture picture;
  if (decodeJpeg(std::string_view(reinterpret_cast<const char*>(data), size), picture)) {
    require(pictureFitsMemoryBound(picture.width, picture.height));
    require(picture.rgb.size() == static_cast<std::size_t>(picture.width) * picture.height * 3);
  } else {
    require(picture.width == 0 && picture.height == 0 && picture.rgb.empty());
  }
  return 0;
}
