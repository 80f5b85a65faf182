#pragma once
// Pictures for tests: their bytes as a vector to compare, and pictures made from given bytes.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "pictures/picture.h"

namespace averlune::test {

inline std::vector<std::uint8_t> bytesOf(const Picture& picture) { return {picture.rgb.begin(), picture.rgb.end()}; }

// A width x height picture holding `bytes`, which need not be width x height x 3 of them.
inline Picture pictureOf(int width, int height, const std::vector<std::uint8_t>& bytes) {
  Picture picture{width, height, {}};
  picture.rgb.allocate(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) picture.rgb[i] = bytes[i];
  return picture;
}

}  // namespace averlune::test
