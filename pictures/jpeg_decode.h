#pragma once
// JPEG decoding with libjpeg, the format of the wizard's pictures and the usual one of the splash
// picture (pictures/bitmap_decode.h reads the other).
#include <string_view>

#include "pictures/picture.h"

namespace averlune {

// Decodes the JPEG file `bytes` into `picture` (24-bit colour). False, with `picture` empty, for
// anything that is not a whole decodable JPEG (truncated data, another format, CMYK, or a picture
// beyond kPictureMemoryBound): the caller then shows its built-in picture.
bool decodeJpeg(std::string_view bytes, Picture& picture);

}  // namespace averlune
