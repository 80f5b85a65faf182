#pragma once
// What Finish on the finish page does, in order, as data: the Windows edge carries the steps out
// one after the other (finish_actions_win.h).
#include <cstdint>
#include <vector>

namespace averlune {

struct SetupOptions;

enum class FinishStep {
  callPlugin,               // every named export of the work folder's dll.dll, once each
  enableShutdownPrivilege,  // without it the system refuses the restart request
  requestRestart,           // asked for, not waited for
  launchProgram,            // ProgramRun, see program_launch.h
  hideWizard,
  endRun,                   // the work folder removed; does not return
};

// The steps for these options and the finish page's check box (`finishBoxChecked`; false when
// the page has none): the plug-in when Dll is not empty; then, with the box checked, the restart
// for Addition 1 or the launch for Addition 2; then hide and end.
std::vector<FinishStep> finishSteps(const SetupOptions& options, bool finishBoxChecked);

}  // namespace averlune
