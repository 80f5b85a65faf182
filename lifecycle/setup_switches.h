#pragma once
// The setup's command line. Without switches the setup runs its wizard as it always has, with exit
// code 0 on every path; deployment tools start it with these:
//
//   /S            silent: no wizard and no message box; the setup script's options and default
//                 folders decide, and the exit code tells the outcome (setup_exit_code.h)
//   /D=<folder>   the application folder, in place of the script's default (the wizard's folder
//                 page starts with it); the rest of the command line, spaces included, so it
//                 comes last unquoted (or stands anywhere quoted whole: "/D=<folder>"); a
//                 relative one names a folder below the folder the setup was started from
//   /LANG=<name>  a setup with several languages takes this one, named as languages.dat lists it
//                 (letter case aside), and shows no language dialog; the name may be quoted
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
  std::u16string language;   // empty: the language dialog, or silently the first language
};

// The switches of a whole command line as Windows hands it over, program name first (quoted or
// not).
SetupSwitches parseSetupSwitches(std::u16string_view commandLine);

// The text /? shows: the switches of the setup and of the uninstaller it writes.
extern const char16_t kSetupSwitchesHelp[];

}  // namespace averlune
