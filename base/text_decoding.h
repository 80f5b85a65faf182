#pragma once
// Decoders between the configuration files' 8-bit text and the programs' UTF-16.
//
// decodeUtf8 gives exactly what Windows' own UTF-8 conversion gives in its default (non-failing)
// mode, so a file decodes the same whether a text went through us or through the system. Each
// ill-formed unit becomes one U+FFFD:
//   - a byte that cannot start a sequence (80..BF, C0, C1, F5..FF) is a unit of its own;
//   - a lead byte whose sequence would run past the end of the input forms one unit with every
//     byte that is left, whatever those bytes are;
//   - otherwise the unit is the lead byte and the continuation bytes after it up to the first
//     byte that is not one (that byte starts the next unit), but a second byte that makes the
//     sequence overlong (E0 80..9F, F0 80..8F), a surrogate (ED A0..BF) or larger than U+10FFFF
//     (F4 90..BF) ends the unit with itself included.
#include <string>
#include <string_view>

namespace averlune {

constexpr char16_t kReplacementCharacter = u'\uFFFD';

// UTF-8 bytes to UTF-16. Never fails; NUL bytes become U+0000.
std::u16string decodeUtf8(std::string_view bytes);

// ISO-8859-1: every byte is the character with the same code (0x80 is U+0080).
std::u16string decodeLatin1(std::string_view bytes);

// ISO-8859-1 bytes re-encoded as UTF-8 (bytes 0x80-0xFF become two bytes each).
std::string latin1ToUtf8(std::string_view bytes);

// UTF-16 to UTF-8 without byte-order mark. An unpaired surrogate becomes U+FFFD (EF BF BD), as the
// system's conversion does, so the result is always well-formed.
std::string encodeUtf8(std::u16string_view text);

}  // namespace averlune
