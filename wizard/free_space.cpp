#include "wizard/free_space.h"

#include <cstdio>

namespace averlune {
namespace {

std::u16string asciiText(const char* text) {
  std::u16string result;
  for (; *text; ++text) result.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  return result;
}

}  // namespace

std::u16string freeSpaceRootOf(const std::u16string& folder) {
  if (folder.compare(0, 2, u"\\\\") == 0) return u"";
  return folder.substr(0, 3);
}

std::u16string freeSpaceText(std::uint64_t freeBytes) {
  // Whole mebibytes as an unsigned 32-bit count, the unit the page has always shown.
  const auto mebibytes = static_cast<std::uint32_t>(freeBytes >> 20);
  if (mebibytes == 0) return u"ERROR";
  char buffer[64];
  if (mebibytes <= 1024) {
    std::snprintf(buffer, sizeof buffer, "%lu MB", static_cast<unsigned long>(mebibytes));
    return asciiText(buffer);
  }
  const float gibibytes = static_cast<float>(mebibytes) / 1024.0f;
  // printf's fixed conversion rounds to nearest; the C locale keeps the full stop.
  std::snprintf(buffer, sizeof buffer, "%.1f", static_cast<double>(gibibytes));
  std::string number = buffer;
  if (!number.empty() && number.back() == '0') {
    std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(gibibytes));
    number = buffer;
  }
  return asciiText((number + " GB").c_str());
}

}  // namespace averlune
