#pragma once
// A decoded picture in memory and its scaling to the fixed sizes the wizard and the uninstaller
// show.
#include <cstdint>
#include <vector>

namespace averlune {

// 24-bit colour, rows top first, three bytes a pixel in the order red, green, blue, no padding.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// `source` stretched or shrunk to exactly width x height, without keeping its aspect ratio: each
// target pixel is the average of the source pixels it covers (at least the nearest one). An empty
// source or size gives an empty picture.
Picture scalePicture(const Picture& source, int width, int height);

}  // namespace averlune
