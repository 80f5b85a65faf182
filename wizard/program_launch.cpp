#include "wizard/program_launch.h"

#include "config/setup_placeholders.h"

namespace averlune {

ProgramLaunch programLaunchOf(const SetupOptions& options, const std::vector<AuthorVariable>& variables,
                              const std::u16string& appFolder, const SystemLookup& system) {
  ProgramLaunch launch;
  launch.expanded =
      expandPlaceholders(options.ProgramRun, appFolder, placeholderScriptValues(options), variables, system);
  launch.start = programStartOf(launch.expanded);
  return launch;
}

std::u16string programLaunchLogLine(const ProgramLaunch& launch, DesktopStartWay way) {
  if (launch.start.file.empty() && !launch.expanded.empty()) {
    return u"finish: ProgramRun is no full path, not started: " + launch.expanded;
  }
  return u"finish: " + desktopStartLogLine(launch.start, way);
}

}  // namespace averlune
