#pragma once

namespace averlune {

struct SetupRun;

// What Finish on the finish page does; ends the run (work folder removed) and does not return.
// The finish plug-in, the restart and the program launch chosen by Addition are not carried out
// yet: Finish hides the wizard and ends the run.
[[noreturn]] void runFinishActions(SetupRun& run);

}  // namespace averlune
