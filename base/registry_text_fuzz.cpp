// Fuzzes the registry text conversions with arbitrary text and data: nothing may crash, and
// whatever binaryValueFromHexText accepts must survive the round trip through its text form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/registry_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace averlune;
  if (size == 0) return 0;
  const std::uint32_t type = data[0] % 12;
  const std::uint8_t* rest = data + 1;
  const std::size_t restSize = size - 1;

  // Text units from byte pairs; single bytes too, so ASCII-only inputs are reached easily.
  std::u16string wideText;
  for (std::size_t i = 0; i + 1 < restSize; i += 2) wideText.push_back(static_cast<char16_t>(rest[i] | (rest[i + 1] << 8)));
  std::u16string narrowText(rest, rest + restSize);

  for (const std::u16string* text : {&wideText, &narrowText}) {
    BinaryValueBytes bytes = binaryValueFromHexText(*text);
    if (bytes.ok) {
      BinaryValueBytes again = binaryValueFromHexText(hexTextFromBytes(bytes.bytes.data(), bytes.bytes.size()));
      if (!again.ok || again.bytes != bytes.bytes) std::abort();
    } else if (!bytes.bytes.empty() || bytes.failure.empty()) {
      std::abort();
    }
    parseNumber(*text);
    pruneCandidates(*text);
  }
  RegistryValueText text = registryValueToText(type, rest, restSize);
  if (!text.ok && !text.text.empty()) std::abort();
  return 0;
}
