#pragma once
// JPEG decoding with libjpeg. Kept in the Windows edge only because libjpeg is linked into the
// Windows programs alone; nothing here calls Windows.
#include <string_view>

#include "config/picture.h"

namespace averlune {

// Decodes the JPEG file `bytes` into `picture` (24-bit colour). False, with `picture` empty, for
// anything that is not a whole decodable JPEG (truncated data, another format, CMYK, or a picture
// beyond kPictureMemoryBound): the caller then shows its built-in picture.
bool decodeJpeg(std::string_view bytes, Picture& picture);

}  // namespace averlune
