// Reads arbitrary bytes as a finish plug-in library and checks that every name listed is
// non-empty, stands in the file followed by its terminator, and is listed once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "wizard/plugin_exports.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> names = averlune::pluginExportNames(bytes);
  std::set<std::string> seen;
  for (const std::string& name : names) {
    require(!name.empty() && name.size() <= 4095);
    require(name.find('\0') == std::string::npos);
    require(bytes.find(std::string_view(name.data(), name.size() + 1)) != std::string_view::npos);
    require(seen.insert(name).second);
  }
  require(names.size() <= size / 4);
  return 0;
}
