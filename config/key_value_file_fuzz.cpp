// Feeds arbitrary bytes to the key-value reader as a configuration file and asks it for every
// group and key the file names, checking what the reader promises about its entries and texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/key_value_file.h"
#include "base/text_decoding.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

bool hasLineEnd(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

void checkUtf16(const std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      require(i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF);
      ++i;
    } else {
      require(unit < 0xDC00 || unit > 0xDFFF);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace averlune;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // The decoder never produces unpaired surrogates and never more units than bytes; well-formed
  // text round-trips.
  const std::u16string decoded = decodeUtf8(bytes);
  require(decoded.size() <= bytes.size());
  checkUtf16(decoded);
  if (decoded.find(kReplacementCharacter) == std::u16string::npos) require(encodeUtf8(decoded) == bytes);

  KeyValueFile file;
  openBytes(file, bytes);
  require(file.isOpen);
  for (const KeyValueEntry& entry : file.entries) {
    require(!hasLineEnd(entry.name) && !hasLineEnd(entry.value));
    if (entry.kind == KeyValueEntry::Kind::Key) {
      require(entry.name.empty() || (entry.name.back() != ' ' && entry.name.back() != '\t'));
      require(entry.value.empty() || (entry.value.front() != ' ' && entry.value.front() != '\t'));
    }
  }

  for (const KeyValueEntry& entry : file.entries) {
    const std::u16string name = decodeUtf8(entry.name);
    const bool exact = encodeUtf8(name) == entry.name;  // ill-formed names cannot be asked for
    if (entry.kind == KeyValueEntry::Kind::GroupHeader) {
      const bool selected = selectGroup(file, name);
      require(selected || !exact);
    } else if (entry.kind == KeyValueEntry::Kind::Key) {
      const std::u16string value = readString(file, name, u"\x01");
      checkUtf16(value);
      (void)readInteger(file, name, 7);
    }
  }
  require(selectGroup(file, u""));
  close(file);
  require(!selectGroup(file, u"") && file.entries.empty());
  return 0;
}
