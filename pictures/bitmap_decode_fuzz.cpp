// Decodes arbitrary bytes as a bitmap file and checks that a picture comes out whole and within
// the memory bound, or not at all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pictures/bitmap_decode.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace averlune;
  Picture picture;
  if (decodeBitmap(std::string_view(reinterpret_cast<const char*>(data), size), picture)) {
    require(pictureFitsMemoryBound(picture.width, picture.height));
    require(picture.rgb.size() == static_cast<std::size_t>(picture.width) * picture.height * 3);
  } else {
    require(picture.width == 0 && picture.height == 0 && picture.rgb.empty());
  }
  return 0;
}
