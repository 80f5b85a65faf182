#include "wizard/program_launch.h"

#include "config/path_text.h"
#include "config/setup_placeholders.h"

namespace averlune {

ProgramLaunch programLaunchFor(const std::u16string& programPath) {
  ProgramLaunch launch;
  if (!programPath.empty() && programPath.front() == u'"') {
    // The author quoted the path: the command line is theirs, the path is what the quotes hold.
    // A missing closing quote leaves the path running to the end of the text.
    const std::size_t closing = programPath.find(u'"', 1);
    launch.commandLine = programPath;
    launch.program = programPath.substr(1, closing == std::u16string::npos ? std::u16string::npos : closing - 1);
  } else {
    launch.program = programPath;
    launch.commandLine = u'"' + programPath + u'"';
  }
  if (launch.program.empty()) return {};
  const std::size_t lastBackslash = launch.program.rfind(kBackslash);
  if (lastBackslash != std::u16string::npos) launch.workingFolder = launch.program.substr(0, lastBackslash + 1);
  return launch;
}

ProgramLaunch programLaunchOf(const SetupOptions& options, const std::vector<AuthorVariable>& variables,
                              const std::u16string& appFolder, const SystemLookup& system) {
  return programLaunchFor(expandPlaceholders(options.ProgramRun, appFolder,
                                             placeholderScriptValues(options), variables, system));
}

}  // namespace averlune
