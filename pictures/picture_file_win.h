#pragma once
// The setup's picture loading: the pictures of the configuration cabinet (splash picture, the
// wizard's own pictures) read from the work folder in either format. pictures/window_pictures_win.h
// makes their bitmaps for windows.
#include <string>

#include "pictures/picture.h"
#include "pictures/picture_decode.h"

namespace averlune {

// decodePicture of the file at `path`; false as well when it is missing, a folder or larger than
// kPictureMemoryBound.
bool loadPictureFile(const std::u16string& path, PictureFormats allowed, Picture& picture);

}  // namespace averlune
