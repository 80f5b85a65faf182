#include "base/text_decoding.h"

#include <cstdint>

namespace averlune {
namespace {

bool isContinuation(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

// Number of bytes that follow a lead byte, or -1 for a byte that cannot start a sequence
// (continuation bytes, the overlong leads C0 and C1, and F5..FF).
int trailingCount(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return -1;
}

// Whether the second byte (a continuation byte) still allows a valid sequence: it rules out
// overlong forms (E0 80..9F, F0 80..8F), encoded surrogates (ED A0..BF) and code points above
// U+10FFFF (F4 90..BF).
bool secondByteFits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0: return second >= 0xA0;
    case 0xED: return second <= 0x9F;
    case 0xF0: return second >= 0x90;
    case 0xF4: return second <= 0x8F;
    default: return true;
  }
}

void appendCodePoint(std::u16string& out, std::uint32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
  } else {
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
  }
}

}  // namespace

std::u16string decodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++at;
      continue;
    }
    const int trailing = trailingCount(lead);
    if (trailing < 0) {
      out.push_back(kReplacementCharacter);
      ++at;
      continue;
    }
    if (bytes.size() - at - 1 < static_cast<std::size_t>(trailing)) {
      // The system's decoder takes a sequence that its lead says runs past the end of the input
      // as one ill-formed unit together with every byte left, ASCII included.
      out.push_back(kReplacementCharacter);
      break;
    }
    std::uint32_t codePoint = lead & (0x3F >> trailing);
    std::size_t next = at + 1;
    bool valid = true;
    for (int i = 0; i < trailing; ++i) {
      const auto byte = static_cast<unsigned char>(bytes[next]);
      if (!isContinuation(byte)) {
        valid = false;
        break;
      }
      codePoint = (codePoint << 6) | (byte & 0x3F);
      ++next;
      // A continuation byte in second place is taken into the ill-formed unit even when it makes
      // the sequence overlong, a surrogate or too large; the system's decoder does the same.
      if (i == 0 && !secondByteFits(lead, byte)) {
        valid = false;
        break;
      }
    }
    if (valid) {
      appendCodePoint(out, codePoint);
    } else {
      out.push_back(kReplacementCharacter);
    }
    at = next;
  }
  return out;
}

std::u16string decodeLatin1(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::string latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return out;
}

std::string encodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t codePoint = text[i];
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
      codePoint = kReplacementCharacter;
    }
    if (codePoint < 0x80) {
      out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
      out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
      out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
      out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
  }
  return out;
}

}  // namespace averlune
