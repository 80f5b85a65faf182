#pragma once
// The setup's picture loading: the pictures of the configuration cabinet (splash picture, the
// wizard's own pictures) read from the work folder in either format. config/window_pictures_win.h
// makes their bitmaps for windows.
#include <string>
#include <string_view>

#include "config/picture.h"

namespace averlune {

// Decodes `bytes` as a bitmap file when they start like one, as a JPEG otherwise. False, with
// `picture` empty, when neither reads them (kPictureMemoryBound included).
bool decodePicture(std::string_view bytes, Picture& picture);

// decodePicture of the file at `path`; false as well when it is missing, a folder or larger than
// kPictureMemoryBound.
bool loadPictureFile(const std::u16string& path, Picture& picture);

}  // namespace averlune
