#include "wizard/picture_file_win.h"

#include "config/bitmap_decode.h"
#include "config/file_bytes.h"
#include "config/jpeg_decode.h"

namespace averlune {

bool decodePicture(std::string_view bytes, Picture& picture) {
  return looksLikeBitmap(bytes) ? decodeBitmap(bytes, picture) : decodeJpeg(bytes, picture);
}

bool loadPictureFile(const std::u16string& path, Picture& picture) {
  picture = Picture{};
  std::string bytes;
  return readFileBytes(path, bytes, kPictureMemoryBound) && decodePicture(bytes, picture);
}

}  // namespace averlune
