#pragma once
// The setup's picture loading: the pictures of the configuration cabinet (splash picture, the
// wizard's own pictures) read from the work folder in either format, and their bitmaps for windows.
#include <string>
#include <string_view>

#include "config/owned_handle_win.h"
#include "wizard/picture.h"

namespace averlune {

// Decodes `bytes` as a bitmap file when they start like one, as a JPEG otherwise. False, with
// `picture` empty, when neither reads them (kPictureMemoryBound included).
bool decodePicture(std::string_view bytes, Picture& picture);

// decodePicture of the file at `path`; false as well when it is missing or a folder.
bool loadPictureFile(const std::u16string& path, Picture& picture);

// A 24-bit device-independent bitmap holding `picture`, for picture controls; empty for an empty
// picture or when the system has no memory for it.
OwnedGdiObject bitmapFromPicture(const Picture& picture);

}  // namespace averlune
