// Reads arbitrary bytes as a line-list file, mixing lines and 4-byte numbers the way the registry
// list and the uninstall log do, and checks that every read moves forward and the loop ends.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/line_list_file.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace averlune;
  if (size == 0) return 0;
  // The first byte chooses, bit by bit, whether each read is a line or a number.
  const unsigned pattern = data[0];
  LineListFile file;
  openBytes(file, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  std::size_t reads = 0;
  while (!atEnd(file)) {
    const std::size_t before = file.position;
    if ((pattern >> (reads % 8)) & 1) {
      const std::size_t expectedEnd = std::min(before + 4, file.bytes.size());
      (void)readUInt32(file);
      require(file.position == expectedEnd);
    } else {
      const std::u16string line = readLine(file);
      require(line.size() <= file.position - before);
      require(line.find_first_of(std::u16string(u"\r\n\0", 3)) == std::u16string::npos);
    }
    require(file.position > before && file.position <= file.bytes.size());
    ++reads;
  }
  require(reads <= size);
  require(readLine(file).empty() && readUInt32(file) == 0 && atEnd(file));
  return 0;
}
