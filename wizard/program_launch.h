#pragma once
// The program that Finish starts when the finish page's box asks for it: the setup option
// ProgramRun expanded with the installation path, and how it is handed to the system.
#include <string>
#include <vector>

#include "config/placeholders.h"
#include "config/setup_script.h"

namespace averlune {

struct ProgramLaunch {
  // The program's path, without the double quotes it may be written in. Empty: nothing to start.
  std::u16string program;
  // The command line of the new process: the path in double quotes, or the expanded text as it
  // stands when it begins with a double quote (so the author may quote it and add arguments).
  std::u16string commandLine;
  // The folder part of `program`, up to and including its last "\": the new process's current
  // folder. Empty when the path has no folder part; the process then starts in the setup's own.
  std::u16string workingFolder;
};

// How `programPath`, the expanded ProgramRun, is started.
ProgramLaunch programLaunchFor(const std::u16string& programPath);

// ProgramRun expanded as Finish expands it: with the installation path, `appFolder` (the folder
// the run installed into, ending in "\"), so that "<installpath>" gives the folder without it.
ProgramLaunch programLaunchOf(const SetupOptions& options, const std::vector<AuthorVariable>& variables,
                              const std::u16string& appFolder, const SystemLookup& system);

}  // namespace averlune
