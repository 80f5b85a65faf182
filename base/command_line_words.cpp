#include "base/command_line_words.h"

#include "base/path_text.h"

namespace averlune {
namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::u16string_view skipBlanks(std::u16string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

bool startsWithSwitch(std::u16string_view text, std::u16string_view name) {
  return text.size() >= name.size() && equalsIgnoringAsciiCase(text.substr(0, name.size()), name);
}

std::u16string_view commandLineArguments(std::u16string_view line) {
  line = skipBlanks(line);
  if (!line.empty() && line.front() == u'"') {
    const std::size_t close = line.find(u'"', 1);
    return close == std::u16string_view::npos ? std::u16string_view() : line.substr(close + 1);
  }
  std::size_t end = 0;
  while (end < line.size() && !isBlank(line[end])) ++end;
  return line.substr(end);
}

std::u16string_view takeSwitchWord(std::u16string_view& rest, std::size_t valueStart, std::u16string& value) {
  std::size_t end = valueStart;
  if (end < rest.size() && rest[end] == u'"') {
    const std::size_t close = rest.find(u'"', end + 1);
    const std::size_t stop = close == std::u16string_view::npos ? rest.size() : close;
    value.assign(rest.substr(end + 1, stop - end - 1));
    end = close == std::u16string_view::npos ? rest.size() : close + 1;
  } else {
    while (end < rest.size() && !isBlank(rest[end])) ++end;
    value.assign(rest.substr(valueStart, end - valueStart));
  }
  const std::u16string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

std::u16string nextSwitchWord(std::u16string_view& rest) {
  rest = skipBlanks(rest);
  std::u16string value;
  const std::u16string_view word = takeSwitchWord(rest, 0, value);
  return word.empty() || word.front() != u'"' ? std::u16string(word) : value;
}

}  // namespace averlune
