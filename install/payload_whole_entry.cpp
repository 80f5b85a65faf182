#include "install/payload_whole_entry.h"

#include <libdeflate.h>
#include <zlib.h>

#include <new>

namespace averlune {
namespace {

constexpr std::uint32_t kStored = 0;
constexpr std::uint32_t kDeflated = 8;
constexpr std::uint32_t kEncrypted = 1;

unsigned char* reserve(GrowingBuffer& buffer, std::size_t size) {
  if (size > buffer.capacity) {
    buffer.bytes.reset();  // the old bytes are not needed: the two never live at once
    buffer.capacity = 0;
    buffer.bytes.reset(new (std::nothrow) unsigned char[size]);
    if (!buffer.bytes) return nullptr;
    buffer.capacity = size;
  }
  // A non-null pointer also for empty entries, so that null always means failure.
  if (!buffer.bytes) buffer.bytes.reset(new (std::nothrow) unsigned char[1]);
  return buffer.bytes.get();
}

}  // namespace

void DecompressorRelease::operator()(libdeflate_decompressor* decompressor) const {
  libdeflate_free_decompressor(decompressor);
}

bool fitsWhole(std::uint32_t method, std::uint32_t flags, std::uint64_t storedSize, std::uint64_t size) {
  if ((flags & kEncrypted) != 0 || storedSize > kPayloadWholeEntryLimit || size > kPayloadWholeEntryLimit) return false;
  return (method == kStored && storedSize == size) || method == kDeflated;
}

unsigned char* wholeEntryInput(PayloadWholeEntry& whole, std::uint32_t method, std::size_t storedSize) {
  return reserve(method == kStored ? whole.decoded : whole.stored, storedSize);
}

const unsigned char* decodeWholeEntry(PayloadWholeEntry& whole, std::uint32_t method, std::size_t storedSize,
                                      std::size_t size) {
  if (method == kStored) return whole.decoded.bytes.get();
  if (!whole.decompressor) whole.decompressor.reset(libdeflate_alloc_decompressor());
  unsigned char* out = reserve(whole.decoded, size);
  if (!whole.decompressor || !out) return nullptr;
  std::size_t produced = 0;
  // Given room for exactly `size` bytes, a stream that would make more fails as well.
  const libdeflate_result result =
      libdeflate_deflate_decompress(whole.decompressor.get(), whole.stored.bytes.get(), storedSize, out, size, &produced);
  return result == LIBDEFLATE_SUCCESS && produced == size ? out : nullptr;
}

// zlib's CRC-32, which the streamed entries use already: libdeflate's own would bring its tables
// and processor-specific copies, 12 KB more in every setup, to save a few hundredths of a second
// on a payload of hundreds of megabytes.
std::uint32_t payloadCrc32(const void* data, std::size_t size) {
  return static_cast<std::uint32_t>(crc32_z(0, static_cast<const Bytef*>(data), size));
}

}  // namespace averlune
