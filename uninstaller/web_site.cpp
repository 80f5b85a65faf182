#include "uninstaller/web_site.h"

#include <string_view>

#include "config/path_text.h"

namespace averlune {
namespace {

bool startsWithScheme(std::u16string_view text, std::u16string_view scheme) {
  return text.size() > scheme.size() && equalsIgnoringAsciiCase(text.substr(0, scheme.size()), scheme);
}

}  // namespace

bool isWebAddress(const std::u16string& text) {
  if (!startsWithScheme(text, u"http://") && !startsWithScheme(text, u"https://")) return false;
  for (char16_t c : text) {
    if (c <= u' ' || c == 0x7F || c == u'"') return false;
  }
  return true;
}

}  // namespace averlune
