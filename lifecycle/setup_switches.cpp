#include "lifecycle/setup_switches.h"

#include "base/command_line_words.h"
#include "base/path_text.h"

namespace averlune {
namespace {

// One switch word without a value of its own, its quotes already taken off.
void readSwitch(std::u16string_view word, SetupSwitches& switches) {
  if (startsWithSwitch(word, u"/D=")) switches.appFolder.assign(word.substr(3));
  if (startsWithSwitch(word, u"/LOG=")) switches.logFile.assign(word.substr(5));
  if (startsWithSwitch(word, u"/LANG=")) switches.language.assign(word.substr(6));
  if (equalsIgnoringAsciiCase(word, u"/S")) switches.silent = true;
  if (word == u"/?") switches.showHelp = true;
}

}  // namespace

const char16_t kSetupSwitchesHelp[] =
    u"Setup:\n"
    u"/S\tinstalls without the wizard and without messages\n"
    u"/D=<folder>\tthe application folder (last on the command line, not quoted)\n"
    u"/LOG=<file>\twrites a log of every step, file, link, registry value and failure\n"
    u"/LANG=<language>\tthe language, as the language list names it (no language dialog)\n"
    u"/?\tshows these switches\n"
    u"\n"
    u"Uninstaller:\n"
    u"/S\tremoves without a question, a window or a message\n"
    u"/LOG=<file>\twrites a log of every item removed or left\n"
    u"\n"
    u"Exit codes with /S: 0 done, 3010 done but a restart is needed, 1602 cancelled,\n"
    u"1603 failed (or items left), 1618 another setup is running";

SetupSwitches parseSetupSwitches(std::u16string_view commandLine) {
  SetupSwitches switches;
  std::u16string_view rest = commandLineArguments(commandLine);
  while (!(rest = skipBlanks(rest)).empty()) {
    if (startsWithSwitch(rest, u"/D=")) {
      std::u16string_view folder = rest.substr(3);
      while (!folder.empty() && (folder.back() == u' ' || folder.back() == u'\t')) folder.remove_suffix(1);
      switches.appFolder.assign(folder);
      break;
    }
    if (startsWithSwitch(rest, u"/LOG=")) {
      takeSwitchWord(rest, 5, switches.logFile);
      continue;
    }
    if (startsWithSwitch(rest, u"/LANG=")) {
      takeSwitchWord(rest, 6, switches.language);
      continue;
    }
    // A whole switch in quotes, as programs that quote every argument with a space write it.
    readSwitch(nextSwitchWord(rest), switches);
  }
  return switches;
}

}  // namespace averlune
