#pragma once
// A path as UTF-8 text for the builder's messages and archive names, the same bytes on every
// system (the path's own narrow text would be the ANSI code page on Windows).
#include <filesystem>
#include <string>

namespace averlune {

inline std::string utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// With forward slashes, as archive entry names and reports across systems write them.
inline std::string genericUtf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace averlune
