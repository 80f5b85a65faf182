#pragma once
// The program that Finish starts when the finish page's box asks for it: the setup option
// ProgramRun expanded with the installation path, started on the user's desktop
// (guards/desktop_start.h) when it is a full path.
#include <string>
#include <vector>

#include "guards/desktop_start.h"
#include "config/placeholders.h"
#include "config/setup_script.h"

namespace averlune {

struct ProgramLaunch {
  std::u16string expanded;  // ProgramRun as expanded
  // What starts (programStartOf): an empty file starts nothing, neither when ProgramRun is empty
  // nor when it is no full path, which would be searched for in folders a user may write to.
  DesktopStart start;
};

// ProgramRun expanded as Finish expands it: with the installation path, `appFolder` (the folder
// the run installed into, ending in "\"), so that "<installpath>" gives the folder without it.
ProgramLaunch programLaunchOf(const SetupOptions& options, const std::vector<AuthorVariable>& variables,
                              const std::u16string& appFolder, const SystemLookup& system);

// The administrator's log line for `launch` gone `way`; a ProgramRun refused as no full path is
// named so.
std::u16string programLaunchLogLine(const ProgramLaunch& launch, DesktopStartWay way);

}  // namespace averlune
