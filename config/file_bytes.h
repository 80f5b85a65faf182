#pragma once
// Whole-file reads for the configuration readers: every configuration file is small and read in
// one pass, then parsed from memory.
#include <string>

namespace averlune {

// Reads the file at `path` (a full path as the programs hold it) into `bytes`. False when the file
// does not exist, is not a regular file or cannot be read; `bytes` is then empty.
bool readFileBytes(const std::u16string& path, std::string& bytes);

}  // namespace averlune
