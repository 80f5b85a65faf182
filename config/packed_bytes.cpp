#include "config/packed_bytes.h"

#include <zlib.h>

#include <cstdint>

namespace averlune {

bool unpackBytes(std::string_view packed, std::string& bytes) {
  bytes.clear();
  if (packed.size() < 4) return false;
  std::size_t size = 0;
  for (int i = 3; i >= 0; --i) size = (size << 8) | static_cast<std::uint8_t>(packed[i]);
  if (size == 0 || size > kPackedBytesLimit) return false;
  bytes.resize(size);
  uLongf unpacked = static_cast<uLongf>(size);
  const int result = uncompress(reinterpret_cast<Bytef*>(bytes.data()), &unpacked,
                                reinterpret_cast<const Bytef*>(packed.data() + 4), static_cast<uLong>(packed.size() - 4));
  if (result != Z_OK || unpacked != size) {
    bytes.clear();
    return false;
  }
  return true;
}

}  // namespace averlune
