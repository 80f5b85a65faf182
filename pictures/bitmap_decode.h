#pragma once
// Decoding of Windows bitmap files (.bmp), the splash picture's usual format. Ours rather than the
// system's so that a bitmap from the cabinet is checked against kPictureMemoryBound before any
// memory is taken for it, and tested and fuzzed like every other reader of outside bytes.
#include <string_view>

#include "pictures/picture.h"

namespace averlune {

// True when `bytes` start like a bitmap file ("BM"); anything else is left to the JPEG decoder.
bool looksLikeBitmap(std::string_view bytes);

// Decodes the bitmap file `bytes` into `picture` (24-bit colour, rows top first). Reads the core
// header and the info headers of every later version; 1, 4 and 8 bits with a colour table,
// 16 bits (5-5-5 or bit fields), 24 bits and 32 bits (plain or bit fields), run-length coded 8 and
// 4 bits. An alpha channel is ignored. False, with `picture` empty, for anything else: another
// format, a size of zero or beyond kPictureMemoryBound, or pixel rows the file does not hold.
// Run-length data may end early; pixels it never reaches stay black.
bool decodeBitmap(std::string_view bytes, Picture& picture);

}  // namespace averlune
