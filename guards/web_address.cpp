#include "guards/web_address.h"

#include <string_view>

#include "base/path_text.h"

namespace averlune {
namespace {

bool startsWithScheme(std::u16string_view text, std::u16string_view scheme) {
  return text.size() > scheme.size() && equalsIgnoringAsciiCase(text.substr(0, scheme.size()), scheme);
}

// Nothing the shell could take for a second argument or a quoted part.
bool hasPlainCharactersOnly(std::u16string_view text) {
  for (char16_t c : text) {
    if (c <= u' ' || c == 0x7F || c == u'"') return false;
  }
  return true;
}

}  // namespace

bool isWebAddress(const std::u16string& text) {
  return (startsWithScheme(text, u"http://") || startsWithScheme(text, u"https://")) && hasPlainCharactersOnly(text);
}

std::u16string licenceLinkAddress(const std::u16string& link) {
  if (!hasPlainCharactersOnly(link)) return {};
  if (isWebAddress(link) || startsWithScheme(link, u"mailto:")) return link;
  if (startsWithScheme(link, u"www.")) return u"http://" + link;
  return {};
}

}  // namespace averlune
