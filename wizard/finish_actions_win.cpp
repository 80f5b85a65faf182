#include "wizard/finish_actions_win.h"

#include "base/system_lookup_win.h"
#include "wizard/finish_plan.h"
#include "wizard/finish_plugin_win.h"
#include "wizard/program_start_win.h"
#include "wizard/restart_win.h"

namespace averlune {

void runFinishActions(Wizard& wizard) {
  const SetupState& state = wizard.state;
  for (FinishStep step : finishSteps(state.options, isChecked(wizard.controls.finishCheckBox))) {
    switch (step) {
      case FinishStep::callPlugin:
        callFinishPlugin(state.workFolder + u"dll.dll");
        break;
      case FinishStep::enableShutdownPrivilege:
        // Without it the request below is refused, which is not reported either.
        enableShutdownPrivilege();
        break;
      case FinishStep::requestRestart:
        requestRestart();
        break;
      case FinishStep::launchProgram:
        startProgram(programLaunchOf(state.options, state.variables, applicationFolder(state.choices),
                                     windowsSystemLookup()),
                     state.logFile);
        break;
      case FinishStep::hideWizard:
        ShowWindow(wizard.window.get(), SW_HIDE);
        break;
      case FinishStep::endRun:
        wizard.endRun(true);
        return;
    }
  }
}

}  // namespace averlune
