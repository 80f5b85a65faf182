#include "wizard/plugin_exports.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "base/pe_image.h"

namespace averlune {
namespace {

constexpr std::size_t kExportDirectorySize = 40;
constexpr std::size_t kMaxNameLength = 4095;
// The loader refuses images with more sections; the limit also keeps every address lookup short.
constexpr std::size_t kMaxSections = 96;

// The NUL-terminated name at `rva`; empty when it is unmapped, runs off its section or is longer
// than any function name a plug-in calls by (the cap keeps a file whose name entries all point at
// one long unterminated run from costing a scan of the file per entry).
std::string_view nameAt(const PeImage& image, std::uint64_t rva) {
  const std::string_view rest = image.at(rva).substr(0, kMaxNameLength + 1);
  const std::size_t end = rest.find('\0');
  return end == std::string_view::npos ? std::string_view{} : rest.substr(0, end);
}

}  // namespace

std::vector<std::string> pluginExportNames(std::string_view bytes) {
  const auto image = PeImage::open(bytes);
  if (!image || image->sectionCount() > kMaxSections) return {};
  const auto directory = image->directory(kPeExportDirectory);
  if (!directory || directory->address == 0) return {};
  const std::string_view fields = image->at(directory->address);
  if (fields.size() < kExportDirectorySize) return {};
  const std::uint32_t functionCount = *fileU32(fields, 20);
  const std::uint32_t nameCount = *fileU32(fields, 24);
  const std::uint64_t functions = *fileU32(fields, 28);
  const std::uint64_t names = *fileU32(fields, 32);
  const std::uint64_t ordinals = *fileU32(fields, 36);

  // Tables the file does not hold in full mean a damaged directory, whatever it would still give:
  // no function of it is called. The check also bounds every loop below by the file's size. The
  // tables are read from these checked views alone: looked up entry by entry, an address inside a
  // table could fall into another, shorter section first where sections overlap.
  const std::string_view functionTable = image->at(functions);
  const std::string_view nameTable = image->at(names);
  const std::string_view ordinalTable = image->at(ordinals);
  if (functionTable.size() / 4 < functionCount || nameTable.size() / 4 < nameCount ||
      ordinalTable.size() / 2 < nameCount) {
    return {};
  }
  struct Named {
    std::uint32_t slot;      // in the address table
    std::uint32_t position;  // in the name table
  };
  std::vector<Named> named;
  for (std::uint32_t i = 0; i < nameCount; ++i) {
    const std::uint16_t slot = *fileU16(ordinalTable, 2ull * i);
    if (slot < functionCount) named.push_back({slot, i});
  }
  // Address-table order; an export with several names goes by the last in the name table.
  std::sort(named.begin(), named.end(), [](const Named& a, const Named& b) {
    return a.slot != b.slot ? a.slot < b.slot : a.position < b.position;
  });
  std::vector<std::string> result;
  std::unordered_set<std::string_view> seen;
  for (std::size_t k = 0; k < named.size(); ++k) {
    if (k + 1 < named.size() && named[k + 1].slot == named[k].slot) continue;
    if (*fileU32(functionTable, 4ull * named[k].slot) == 0) continue;
    const std::string_view name = nameAt(*image, *fileU32(nameTable, 4ull * named[k].position));
    if (!name.empty() && seen.insert(name).second) result.emplace_back(name);
  }
  return result;
}

}  // namespace averlune
