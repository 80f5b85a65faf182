#include "wizard/free_space.h"

#include <string>

namespace averlune {
namespace {

std::u16string asciiText(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::u16string freeSpaceRootOf(const std::u16string& folder) {
  if (folder.compare(0, 2, u"\\\\") == 0) return u"";
  return folder.substr(0, 3);
}

std::u16string freeSpaceText(std::uint64_t freeBytes) {
  // Whole mebibytes as an unsigned 32-bit count, the unit the page has always shown.
  const auto mebibytes = static_cast<std::uint32_t>(freeBytes >> 20);
  if (mebibytes == 0) return u"ERROR";
  if (mebibytes <= 1024) return asciiText(std::to_string(mebibytes) + " MB");
  // Gibibytes to one decimal as the page has always computed them: the count as a single-precision
  // number, rounded half to even as printf's "%.1f" rounds, a ".0" left out. Digits come from
  // integers, so no formatting machinery travels with the setup.
  const double tenthsExact = static_cast<double>(static_cast<float>(mebibytes) / 1024.0f) * 10.0;
  auto tenths = static_cast<std::uint64_t>(tenthsExact);
  const double fraction = tenthsExact - static_cast<double>(tenths);
  if (fraction > 0.5 || (fraction == 0.5 && tenths % 2 == 1)) ++tenths;
  std::string number = std::to_string(tenths / 10);
  if (tenths % 10 != 0) number += "." + std::to_string(tenths % 10);
  return asciiText(number + " GB");
}

}  // namespace averlune
