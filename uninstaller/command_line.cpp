#include "uninstaller/command_line.h"

#include <string_view>

#include "base/path_text.h"

namespace averlune {

bool isSilentRequest(const std::u16string& commandLine) {
  std::u16string_view rest = commandLine;
  // The program name ends at the closing quote when it starts with one, else at white space.
  if (!rest.empty() && rest.front() == u'"') {
    const std::size_t close = rest.find(u'"', 1);
    rest = close == std::u16string_view::npos ? std::u16string_view() : rest.substr(close + 1);
  } else {
    const std::size_t space = rest.find_first_of(u" \t");
    rest = space == std::u16string_view::npos ? std::u16string_view() : rest.substr(space);
  }
  const std::size_t first = rest.find_first_not_of(u" \t");
  if (first == std::u16string_view::npos) return false;
  const std::size_t last = rest.find_last_not_of(u" \t");
  return equalsIgnoringAsciiCase(rest.substr(first, last + 1 - first), u"/S");
}

}  // namespace averlune
