#include "pictures/picture_file_win.h"

#include "base/file_bytes.h"

namespace averlune {

bool loadPictureFile(const std::u16string& path, PictureFormats allowed, Picture& picture) {
  picture = Picture{};
  std::string bytes;
  return readFileBytes(path, bytes, kPictureMemoryBound) && decodePicture(bytes, allowed, picture);
}

}  // namespace averlune
