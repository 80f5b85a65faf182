#include "base/path_text.h"

namespace averlune {

std::u16string addBackslash(std::u16string path) {
  if (path.empty() || path.back() != kBackslash) path.push_back(kBackslash);
  return path;
}

namespace {

template <typename Char>
bool equalsFolded(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) { return equalsFolded(a, b); }

bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) { return equalsFolded(a, b); }

std::size_t findIgnoringAsciiCase(std::u16string_view text, std::u16string_view needle, std::size_t from) {
  if (needle.empty() || from > text.size() || needle.size() > text.size() - from) return std::u16string::npos;
  for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
    if (equalsFolded(text.substr(at, needle.size()), needle)) return at;
  }
  return std::u16string::npos;
}

std::u16string replaceEvery(std::u16string text, std::u16string_view token, std::u16string_view value) {
  if (token.empty()) return text;
  std::size_t at = 0;
  while ((at = text.find(token.data(), at, token.size())) != std::u16string::npos) {
    text.replace(at, token.size(), value.data(), value.size());
    at += value.size();
  }
  return text;
}

}  // namespace averlune
