#include "pictures/window_pictures_win.h"

#include <cstdint>
#include <string_view>

#include "pictures/jpeg_decode.h"
#include "base/owned_handle_win.h"
#include "base/resource_bytes_win.h"

namespace averlune {

HBITMAP bitmapFromPicture(const Picture& picture) {
  if (picture.rgb.empty()) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down, as the picture's rows are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return bitmap;
  const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
  auto* out = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* in = &picture.rgb[static_cast<std::size_t>(y) * picture.width * 3];
    std::uint8_t* row = out + y * stride;
    for (int x = 0; x < picture.width; ++x) {  // DIBs hold blue, green, red
      row[x * 3] = in[x * 3 + 2];
      row[x * 3 + 1] = in[x * 3 + 1];
      row[x * 3 + 2] = in[x * 3];
    }
  }
  return bitmap;
}

HBITMAP bitmapFromJpegResource(HMODULE module, int id) {
  Picture decoded;
  if (!decodeJpeg(resourceBytes(module, id), decoded)) return nullptr;
  return bitmapFromPicture(decoded);
}

HFONT createPointFont(const wchar_t* face, int points, int weight) {
  const OwnedScreenDc screen(GetDC(nullptr));
  const int pixelsPerInch = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return CreateFontW(-MulDiv(points, pixelsPerInch, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace averlune
