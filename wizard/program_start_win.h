#pragma once
// Starting the program Finish launches, for the user, without waiting for it.
#include <string>

#include "wizard/program_launch.h"

namespace averlune {

// Starts `launch.start` on the user's desktop (guards/desktop_start_win.h); a launch with an empty
// file starts nothing. Failures are not reported to the user; the administrator's log at `logFile`
// (none when empty) says which way the start went, or why nothing started.
void startProgram(const ProgramLaunch& launch, const std::u16string& logFile);

}  // namespace averlune
