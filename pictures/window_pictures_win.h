#pragma once
// Pictures and fonts for the windows of both programs: a decoded picture as a bitmap, a JPEG
// picture compiled into the program, and a font of a face at a point size. Each result is a new
// GDI object that the caller owns and deletes; null when the system cannot make it.
#include <windows.h>

#include "pictures/picture.h"

namespace averlune {

// A 24-bit top-down DIB section holding `picture`; null for an empty picture.
HBITMAP bitmapFromPicture(const Picture& picture);

// The JPEG stored as RCDATA resource `id` of `module`, decoded; null when it is missing or does not
// decode.
HBITMAP bitmapFromJpegResource(HMODULE module, int id);

// `face` at `points` points for the screen's pixel density, with the given weight (FW_BOLD, ...).
HFONT createPointFont(const wchar_t* face, int points, int weight);

}  // namespace averlune
