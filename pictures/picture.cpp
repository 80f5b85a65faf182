#include "pictures/picture.h"

#include <algorithm>
#include <new>

namespace averlune {

bool pictureFitsMemoryBound(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) return false;
  const std::int64_t pixels = static_cast<std::int64_t>(kPictureMemoryBound / 3);
  return width <= pixels && height <= pixels / width;
}

bool PictureBytes::allocate(std::size_t size) {
  bytes_.reset(size ? new (std::nothrow) std::uint8_t[size]() : nullptr);
  size_ = bytes_ ? size : 0;
  return size == 0 || bytes_;
}

bool allocatePicture(Picture& picture, int width, int height) {
  picture = Picture{};
  if (!pictureFitsMemoryBound(width, height)) return false;
  if (!picture.rgb.allocate(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)) return false;
  picture.width = width;
  picture.height = height;
  return true;
}

Picture scalePicture(const Picture& source, int width, int height) {
  Picture target;
  if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0) return target;
  if (source.rgb.size() < static_cast<std::size_t>(source.width) * source.height * 3) return target;
  if (!allocatePicture(target, width, height)) return target;
  for (int y = 0; y < height; ++y) {
    const int top = static_cast<int>(static_cast<std::int64_t>(y) * source.height / height);
    const int bottom = std::max(top + 1, static_cast<int>(static_cast<std::int64_t>(y + 1) * source.height / height));
    for (int x = 0; x < width; ++x) {
      const int left = static_cast<int>(static_cast<std::int64_t>(x) * source.width / width);
      const int right = std::max(left + 1, static_cast<int>(static_cast<std::int64_t>(x + 1) * source.width / width));
      std::uint64_t sum[3] = {0, 0, 0};
      for (int sy = top; sy < bottom; ++sy) {
        const std::uint8_t* row = &source.rgb[(static_cast<std::size_t>(sy) * source.width + left) * 3];
        for (int sx = left; sx < right; ++sx, row += 3) {
          sum[0] += row[0];
          sum[1] += row[1];
          sum[2] += row[2];
        }
      }
      const std::uint64_t count = static_cast<std::uint64_t>(bottom - top) * (right - left);
      std::uint8_t* out = &target.rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
    }
  }
  return target;
}

}  // namespace averlune
