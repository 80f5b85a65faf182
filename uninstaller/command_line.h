#pragma once
// The uninstaller's command line, read the way the setup reads its own (base/command_line_words.h):
//
//   /S            remove without a question, a window or a message, for deployment tools with no
//                 one at the screen; the exit code tells the outcome
//   /LOG=<file>   a plain-text log of every item removed or left, with or without /S; the name
//                 may be quoted, and a relative one names a file in the folder the uninstaller
//                 was started from
//
// Other words are ignored, and the uninstaller asks as usual.
#include <string>
#include <string_view>

namespace averlune {

struct UninstallSwitches {
  bool silent = false;
  std::u16string logFile;  // empty: no log
};

// The switches of a whole command line as Windows hands it over, program name first.
UninstallSwitches parseUninstallSwitches(std::u16string_view commandLine);

}  // namespace averlune
