#include "authoring/code_page_names.h"

#include <cstdint>
#include <utility>

namespace averlune {
namespace {

// Characters of code page 437 from 0x80 to 0xFF.
constexpr char32_t kOemUpperHalf[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Characters of code page 1252 from 0x80 to 0x9F (0 where the page has none); from 0xA0 on it is
// ISO-8859-1.
constexpr char32_t kAnsiControlsRow[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

// Decodes one UTF-8 sequence at `at`; 0xFFFFFFFF for a malformed, overlong or surrogate sequence.
char32_t decodeUtf8(const std::string& text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  int length = 0;
  char32_t value = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0xFFFFFFFF;
  }
  if (at + length > text.size()) return 0xFFFFFFFF;
  for (int i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0xFFFFFFFF;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFFFFFF;
  at += length;
  return value;
}

// Re-encodes `utf8` in a code page whose lower half is ASCII; `upperHalf` maps a character to its
// byte from 0x80, or to nothing.
template <typename UpperHalf>
std::optional<std::string> encode(const std::string& utf8, UpperHalf upperHalf) {
  std::string encoded;
  encoded.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const char32_t c = decodeUtf8(utf8, at);
    if (c < 0x80) {
      encoded.push_back(static_cast<char>(c));
      continue;
    }
    const int byte = upperHalf(c);
    if (byte < 0) return std::nullopt;
    encoded.push_back(static_cast<char>(byte));
  }
  return encoded;
}

bool isUtf8(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size()) {
    if (decodeUtf8(text, at) == 0xFFFFFFFF) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> toOemName(const std::string& utf8) {
  return encode(utf8, [](char32_t c) {
    for (int i = 0; i < 128; ++i) {
      if (kOemUpperHalf[i] == c) return 0x80 + i;
    }
    return -1;
  });
}

std::optional<std::string> toAnsiName(const std::string& utf8) {
  return encode(utf8, [](char32_t c) {
    if (c >= 0xA0 && c <= 0xFF) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i) {
      if (kAnsiControlsRow[i] == c && c != 0) return 0x80 + i;
    }
    return -1;
  });
}

std::optional<StoredEntryName> storedEntryName(const std::string& utf8) {
  if (auto oem = toOemName(utf8)) return StoredEntryName{std::move(*oem), false};
  if (!isUtf8(utf8)) return std::nullopt;
  return StoredEntryName{utf8, true};
}

}  // namespace averlune
