// Reads arbitrary bytes as an uninstall log, the way the uninstaller does, and checks that every
// record read moves forward and that the loop ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/uninstall_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace averlune;
  LineListFile log;
  openBytes(log, std::string(reinterpret_cast<const char*>(data), size));
  UninstallLogHeader header;
  if (!readUninstallLogHeader(log, header)) return 0;
  UninstallRecord record;
  std::size_t before = log.position;
  while (readUninstallRecord(log, record)) {
    if (log.position <= before || log.position > log.bytes.size()) std::abort();
    before = log.position;
  }
  return 0;
}
