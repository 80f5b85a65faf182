#pragma once
// One payload file made ready for the archive in a single piece: read whole, its CRC-32 taken and
// deflated thoroughly, or kept stored when deflating does not make it smaller (random
// or already compressed data), which the setup also extracts fastest.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct libdeflate_compressor;

namespace averlune {

// Files up to this size are deflated whole; larger ones are deflated as a stream, so that the
// builder's memory does not grow with the size of a file.
constexpr std::uint64_t kWholeEntryMaxBytes = 8u << 20;

// A compressor for payload files, one per thread; null when out of memory.
libdeflate_compressor* payloadCompressor();
void freeCompressor(libdeflate_compressor* compressor);

// The memory that preparing a file of `size` bytes holds at most: the file and the deflated bytes.
std::uint64_t wholeEntryMemory(std::uint64_t size);

struct WholeEntry {
  std::vector<unsigned char> bytes;  // as they go into the archive
  std::uint64_t size = 0;            // of the file as read
  std::uint32_t crc = 0;
  bool deflated = false;             // false: stored
};

// Reads `path` (expected to hold about `expectedSize` bytes) into `entry`. Empty on success,
// otherwise the reason for the setup author.
std::string prepareWholeEntry(const std::filesystem::path& path, std::uint64_t expectedSize,
                              libdeflate_compressor& compressor, WholeEntry& entry);

}  // namespace averlune
