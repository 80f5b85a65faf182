#pragma once
// Starting a program, or opening a document, for the user, without waiting for it.
#include "wizard/program_launch.h"

namespace averlune {

// Starts `launch.commandLine` as a new process in `launch.workingFolder` (the setup's own current
// folder when that is empty). When no process can be created, hands `launch.program` to the
// shell's default verb in the same folder, so that a document opens in its associated program.
// Neither failure is reported, by a result or by a box of the shell. An empty `launch.program`
// starts nothing.
void startProgram(const ProgramLaunch& launch);

}  // namespace averlune
