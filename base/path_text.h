#pragma once
// Small text helpers shared by the configuration readers, the folder lookups and the placeholder
// expander. Case folding here is ASCII only on purpose: configuration keys, group names and
// placeholder tokens match A-Z against a-z and nothing else, whatever the user's locale.
#include <cstddef>
#include <string>
#include <string_view>

namespace averlune {

constexpr char16_t kBackslash = u'\\';

// `path` with "\" appended when it does not already end in one. The empty text becomes "\": callers
// that must keep an unknown folder empty test for emptiness first (see specialFolder).
std::u16string addBackslash(std::u16string path);

// A-Z mapped to a-z; every other unit, non-ASCII letters included, is returned unchanged.
constexpr char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }
constexpr char16_t asciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Equal when both have the same length and every unit matches after asciiLower. The 8-bit form
// compares UTF-8 bytes, so a non-ASCII character matches only itself.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Position of the first occurrence of `needle` in `text` at or after `from`, comparing with
// asciiLower; std::u16string::npos when there is none. An empty needle is never found, so a
// replace loop built on this cannot spin.
std::size_t findIgnoringAsciiCase(std::u16string_view text, std::u16string_view needle, std::size_t from = 0);

// `text` with every occurrence of `token` replaced by `value` (exact match), left to right; what was
// inserted is not searched again. An empty token replaces nothing.
std::u16string replaceEvery(std::u16string text, std::u16string_view token, std::u16string_view value);

}  // namespace averlune
