#pragma once
// Reading a bitmap the system holds back into a Picture, for Windows tests that compare what a
// window would show with what was decoded.
#include <windows.h>

#include <vector>

#include "base/owned_handle_win.h"
#include "pictures/picture.h"
#include "pictures/picture_test_support.h"

namespace averlune::test {

// The bitmap's pixels as 24-bit rows top first; an empty picture when it cannot be read.
inline Picture pictureOfBitmap(HBITMAP bitmap) {
  Picture picture;
  BITMAP size{};
  if (!bitmap || !GetObjectW(bitmap, sizeof size, &size)) return picture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.bmWidth;
  info.bmiHeader.biHeight = -size.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  const std::size_t stride = (static_cast<std::size_t>(size.bmWidth) * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> rows(stride * size.bmHeight);
  const OwnedScreenDc screen(GetDC(nullptr));
  const int read = GetDIBits(screen.get(), bitmap, 0, size.bmHeight, rows.data(), &info, DIB_RGB_COLORS);
  if (read != size.bmHeight) return picture;
  std::vector<std::uint8_t> bytes;
  for (int y = 0; y < size.bmHeight; ++y) {
    for (int x = 0; x < size.bmWidth; ++x) {
      const std::uint8_t* pixel = &rows[y * stride + x * 3];
      bytes.insert(bytes.end(), {pixel[2], pixel[1], pixel[0]});
    }
  }
  return pictureOf(size.bmWidth, size.bmHeight, bytes);
}

}  // namespace averlune::test
