#include "wizard/finish_plan.h"

#include "config/setup_script.h"

namespace averlune {

std::vector<FinishStep> finishSteps(const SetupOptions& options, bool finishBoxChecked) {
  std::vector<FinishStep> steps;
  if (!options.Dll.empty()) steps.push_back(FinishStep::callPlugin);
  if (finishBoxChecked && options.Addition == 1) {
    steps.push_back(FinishStep::enableShutdownPrivilege);
    steps.push_back(FinishStep::requestRestart);
  } else if (finishBoxChecked && options.Addition == 2) {
    steps.push_back(FinishStep::launchProgram);
  }
  steps.push_back(FinishStep::hideWizard);
  steps.push_back(FinishStep::endRun);
  return steps;
}

}  // namespace averlune
