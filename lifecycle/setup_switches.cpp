#include "lifecycle/setup_switches.h"

#include "base/path_text.h"

namespace averlune {
namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view skipBlanks(std::u16string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Whether `text` starts with `prefix`, ASCII letters in any case.
bool startsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && equalsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// The program name, quoted or not, taken off the front.
std::u16string_view afterProgramName(std::u16string_view line) {
  line = skipBlanks(line);
  if (!line.empty() && line.front() == u'"') {
    const std::size_t close = line.find(u'"', 1);
    return close == std::u16string_view::npos ? std::u16string_view() : line.substr(close + 1);
  }
  std::size_t end = 0;
  while (end < line.size() && !isBlank(line[end])) ++end;
  return line.substr(end);
}

// One word: up to the next blank, or a quoted part as a whole (its quotes taken off).
std::u16string_view takeWord(std::u16string_view& rest, std::size_t valueStart, std::u16string& value) {
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

}  // namespace

const char16_t kSetupSwitchesHelp[] =
    u"/S\tinstalls without the wizard and without messages; the exit code tells the outcome:\n"
    u"\t0 installed, 1 cancelled or aborted, 2 start-up failure, 3 another setup is running\n"
    u"/D=<folder>\tthe application folder (last on the command line, not quoted)\n"
    u"/LOG=<file>\twrites a log of every step, file, link, registry value and failure\n"
    u"/?\tshows these switches";

// One switch word, its quotes already taken off.
void readSwitch(std::u16string_view word, SetupSwitches& switches) {
  if (startsWith(word, u"/D=")) switches.appFolder.assign(word.substr(3));
  if (startsWith(word, u"/LOG=")) switches.logFile.assign(word.substr(5));
  if (equalsIgnoringAsciiCase(word, u"/S")) switches.silent = true;
  if (word == u"/?") switches.showHelp = true;
}

SetupSwitches parseSetupSwitches(std::u16string_view commandLine) {
  SetupSwitches switches;
  std::u16string_view rest = afterProgramName(commandLine);
  while (!(rest = skipBlanks(rest)).empty()) {
    if (startsWith(rest, u"/D=")) {
      std::u16string_view folder = rest.substr(3);
      while (!folder.empty() && isBlank(folder.back())) folder.remove_suffix(1);
      switches.appFolder.assign(folder);
      break;
    }
    std::u16string value;
    if (startsWith(rest, u"/LOG=")) {
      takeWord(rest, 5, value);
      switches.logFile = value;
      continue;
    }
    // A whole switch in quotes, as programs that quote every argument with a space write it.
    const std::u16string_view word = takeWord(rest, 0, value);
    readSwitch(word.empty() || word.front() != u'"' ? word : std::u16string_view(value), switches);
  }
  return switches;
}

}  // namespace averlune
