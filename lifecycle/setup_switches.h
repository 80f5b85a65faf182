#pragma once
// The setup's command line. Without switches the setup runs its wizard as it always has, with exit
// code 0 on every path; deployment tools start it with these:
//
//   /S            silent: no wizard and no message box; the setup script's options and default
//                 folders decide, and the exit code tells the outcome (SetupExitCode)
//   /D=<folder>   the application folder, in place of the script's default (the wizard's folder
//                 page starts with it); the rest of the command line, spaces included, so it
//                 comes last unquoted (or stands anywhere quoted whole: "/D=<folder>")
//   /LOG=<file>   a plain-text log of every step, file, link, registry value and failure, with or
//                 without the wizard; the file name may be quoted, and a relative one names a
//                 file in the folder the setup was started from
//   /?            shows these switches
//
// Switch names are matched in any letter case; other words are ignored, as the setup always did.
#include <string>
#include <string_view>

#include "config/exit_codes.h"

namespace averlune {

struct SetupSwitches {
  bool silent = false;
  bool showHelp = false;
  std::u16string appFolder;  // empty: the setup script's default
  std::u16string logFile;    // empty: no log
};

// The outcome of a silent run as its exit code.
enum class SetupExitCode : unsigned {
  installed = 0,
  cancelledOrAborted = 1,  // an extraction failure (Abort) or a fatal failure during installation
  startUpFailure = 2,      // the run ended before the installation (its message is in the log)
  anotherSetupRunning = 3,
  // installed, but files in use wait for the next restart to take their place
  restartNeeded = static_cast<unsigned>(ExitCode::restartNeeded),
};

// The switches of a whole command line as Windows hands it over, program name first (quoted or
// not).
SetupSwitches parseSetupSwitches(std::u16string_view commandLine);

// The text /? shows.
extern const char16_t kSetupSwitchesHelp[];

}  // namespace averlune
