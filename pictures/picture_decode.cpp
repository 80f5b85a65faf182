#include "pictures/picture_decode.h"

#include "pictures/bitmap_decode.h"
#include "pictures/jpeg_decode.h"

namespace averlune {

bool decodePicture(std::string_view bytes, PictureFormats allowed, Picture& picture) {
  const bool bitmap = allowed == PictureFormats::bitmapOrJpeg && looksLikeBitmap(bytes);
  return bitmap ? decodeBitmap(bytes, picture) : decodeJpeg(bytes, picture);
}

}  // namespace averlune
