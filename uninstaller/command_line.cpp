#include "uninstaller/command_line.h"

#include "base/command_line_words.h"
#include "base/path_text.h"

namespace averlune {

UninstallSwitches parseUninstallSwitches(std::u16string_view commandLine) {
  UninstallSwitches switches;
  std::u16string_view rest = commandLineArguments(commandLine);
  while (!(rest = skipBlanks(rest)).empty()) {
    if (startsWithSwitch(rest, u"/LOG=")) {
      takeSwitchWord(rest, 5, switches.logFile);
      continue;
    }
    const std::u16string word = nextSwitchWord(rest);
    if (equalsIgnoringAsciiCase(word, u"/S")) switches.silent = true;
    if (startsWithSwitch(word, u"/LOG=")) switches.logFile = word.substr(5);
  }
  return switches;
}

}  // namespace averlune
