#pragma once
// A minimal PNG encoder for screenshots: 8-bit RGB, no interlace, one IDAT.
#include <cstdint>
#include <string>
#include <vector>

namespace averlune::e2e {

// `rgb` holds height rows of width * 3 bytes, top row first. Result: the PNG file's bytes.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace averlune::e2e
