#include "wizard/program_start_win.h"

#include "guards/desktop_start_win.h"
#include "base/log_file_win.h"

namespace averlune {

void startProgram(const ProgramLaunch& launch, const std::u16string& logFile) {
  const DesktopStartWay way = startOnDesktop(launch.start);
  if (!logFile.empty() && !launch.expanded.empty()) appendLogLine(logFile, programLaunchLogLine(launch, way));
}

}  // namespace averlune
