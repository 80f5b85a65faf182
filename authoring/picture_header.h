#pragma once
// Whether a picture of the configuration will load in the setup, judged on the build machine from
// the file's structure: signature, headers, dimensions and (for JPEG) the end marker, so that the
// check can say what is wrong. A picture whose structure holds together is then decoded with the
// setup's own decoders and their memory bound, which have the last word.
#include <string>
#include <string_view>

namespace averlune {

// The largest side, in pixels, that the setup's JPEG decoding accepts.
constexpr int kPictureMaxSide = 16384;

// Empty when `bytes` is a JPEG picture the setup can decode (baseline or progressive, grey or
// colour, sides of 1 to kPictureMaxSide pixels, not cut short); otherwise why not, in a few words.
std::string jpegProblem(std::string_view bytes);

// Empty when `bytes` is a Windows bitmap (BMP) whose headers and pixel data hold together;
// otherwise why not.
std::string bitmapProblem(std::string_view bytes);

}  // namespace averlune
