#pragma once
// Entries held whole in memory. An entry whose stored and uncompressed sizes both fit
// kPayloadWholeEntryLimit is read in one piece and inflated in one call by a whole-buffer inflater,
// several times faster than the streaming one, and written in one piece. Larger entries keep the
// stream, so memory stays bounded whatever the archive holds.
#include <cstddef>
#include <cstdint>
#include <memory>

struct libdeflate_decompressor;

namespace averlune {

constexpr std::size_t kPayloadWholeEntryLimit = std::size_t{4} << 20;

// A buffer that grows to the largest size asked for and keeps its memory from entry to entry.
struct GrowingBuffer {
  std::unique_ptr<unsigned char[]> bytes;
  std::size_t capacity = 0;
};

struct DecompressorRelease {
  void operator()(libdeflate_decompressor* decompressor) const;
};

// The inflater and both buffers, made on first use and kept for the open archive.
struct PayloadWholeEntry {
  std::unique_ptr<libdeflate_decompressor, DecompressorRelease> decompressor;
  GrowingBuffer stored;   // a deflated entry's stored bytes
  GrowingBuffer decoded;  // the entry's bytes; a stored entry is read straight into it
};

// True when the entry can be decoded whole: stored (method 0, its two sizes equal) or deflated
// (method 8), not encrypted (flag bit 0), both sizes within the limit. Everything else, and every
// entry whose whole decoding fails below, goes through the stream, which reports each fault.
bool fitsWhole(std::uint32_t method, std::uint32_t flags, std::uint64_t storedSize, std::uint64_t size);

// Where the entry's `storedSize` stored bytes are to be read to; null when the memory cannot be had.
unsigned char* wholeEntryInput(PayloadWholeEntry& whole, std::uint32_t method, std::size_t storedSize);

// The entry's `size` bytes, decoded from what wholeEntryInput received; null when the deflated data
// is damaged or does not come to exactly `size` bytes.
const unsigned char* decodeWholeEntry(PayloadWholeEntry& whole, std::uint32_t method, std::size_t storedSize,
                                      std::size_t size);

// The ZIP CRC-32 of `size` bytes.
std::uint32_t payloadCrc32(const void* data, std::size_t size);

}  // namespace averlune
