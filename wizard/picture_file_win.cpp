#include "wizard/picture_file_win.h"

#include <windows.h>

#include <cstdint>

#include "config/file_bytes.h"
#include "wizard/bitmap_decode.h"
#include "wizard/jpeg_decode_win.h"

namespace averlune {

bool decodePicture(std::string_view bytes, Picture& picture) {
  return looksLikeBitmap(bytes) ? decodeBitmap(bytes, picture) : decodeJpeg(bytes, picture);
}

bool loadPictureFile(const std::u16string& path, Picture& picture) {
  picture = Picture{};
  std::string bytes;
  return readFileBytes(path, bytes) && decodePicture(bytes, picture);
}

OwnedGdiObject bitmapFromPicture(const Picture& picture) {
  if (picture.rgb.empty()) return OwnedGdiObject();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down, as the picture's rows are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  OwnedGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return OwnedGdiObject();
  const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
  auto* out = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* in = &picture.rgb[static_cast<std::size_t>(y) * picture.width * 3];
    std::uint8_t* row = out + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < picture.width; ++x) {  // DIBs hold blue, green, red
      row[x * 3] = in[x * 3 + 2];
      row[x * 3 + 1] = in[x * 3 + 1];
      row[x * 3 + 2] = in[x * 3];
    }
  }
  return bitmap;
}

}  // namespace averlune
