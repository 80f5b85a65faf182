#pragma once
// One decision for every picture an author supplies: the splash picture, the wizard's two
// pictures and the builder's check of them read their bytes through it, so what the check
// accepts is what the setup shows.
#include <string_view>

#include "pictures/picture.h"

namespace averlune {

// The formats a picture may come in: the wizard's pictures are JPEG files; the splash picture may
// also be a Windows bitmap.
enum class PictureFormats { jpeg, bitmapOrJpeg };

// Decodes `bytes` as a bitmap file when `allowed` takes bitmaps and they start like one, as a
// JPEG otherwise. False, with `picture` empty, when that decoder refuses them (kPictureMemoryBound
// included).
bool decodePicture(std::string_view bytes, PictureFormats allowed, Picture& picture);

}  // namespace averlune
