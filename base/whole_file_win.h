#pragma once
#include <string>

namespace averlune {

// Writes `bytes` as the file at `path`, whole or not at all: under a temporary name next to it
// ("<path>.partial"), renamed over `path` once complete. False, with `path` as it was and no
// temporary file left, when the file cannot be written or replaced (no room, the old file in use).
bool replaceFileWhole(const std::u16string& path, const std::string& bytes);

}  // namespace averlune
