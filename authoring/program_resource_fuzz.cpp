// Reads arbitrary bytes as the bare setup program the builder takes the uninstaller from: the
// search must end and any span it answers must lie inside the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "authoring/program_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace averlune;
  for (const std::uint16_t id : {std::uint16_t{201}, std::uint16_t{1}}) {
    const auto span = findProgramResource(data, size, kResourceTypeRcData, id);
    if (span && (span->offset > size || span->size > size - span->offset)) std::abort();
  }
  return 0;
}
