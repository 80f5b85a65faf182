#pragma once
// Whole-file reads for the configuration readers: every configuration file is small and read in
// one pass, then parsed from memory.
#include <cstddef>
#include <string>

namespace averlune {

// The most a configuration or language file may hold. The files come from the author's cabinet,
// the payload or a folder users may write to; one of any size would otherwise be read whole and
// end the program when the memory runs out. Real ones are a few kilobytes.
constexpr std::size_t kTextFileBound = std::size_t{64} << 20;

// Reads the file at `path` (a full path as the programs hold it) into `bytes`. False when the file
// does not exist, is not a regular file, cannot be read or holds more than `bound` bytes; `bytes`
// is then empty, and no more than `bound` bytes were ever held.
bool readFileBytes(const std::u16string& path, std::string& bytes, std::size_t bound = kTextFileBound);

}  // namespace averlune
