#include "wizard/finish_plan.h"

#include <gtest/gtest.h>

#include "config/setup_script.h"

namespace averlune {
namespace {

using S = FinishStep;
using Steps = std::vector<FinishStep>;

TEST(FinishPlan, PluginThenRestartOrLaunchThenHideAndEnd) {
  struct Row {
    const char16_t* dll;
    std::int32_t addition;
    bool checked;
    Steps steps;
  };
  const Row rows[] = {
      {u"", 0, false, {S::hideWizard, S::endRun}},
      {u"", 3, true, {S::hideWizard, S::endRun}},
      {u"", -1, true, {S::hideWizard, S::endRun}},
      {u"1", 0, false, {S::callPlugin, S::hideWizard, S::endRun}},
      {u"", 1, true, {S::enableShutdownPrivilege, S::requestRestart, S::hideWizard, S::endRun}},
      {u"", 1, false, {S::hideWizard, S::endRun}},
      {u"", 2, true, {S::launchProgram, S::hideWizard, S::endRun}},
      {u"", 2, false, {S::hideWizard, S::endRun}},
      {u"yes", 1, true,
       {S::callPlugin, S::enableShutdownPrivilege, S::requestRestart, S::hideWizard, S::endRun}},
      {u"yes", 2, true, {S::callPlugin, S::launchProgram, S::hideWizard, S::endRun}},
  };
  for (const Row& row : rows) {
    SetupOptions options;
    options.Dll = row.dll;
    options.Addition = row.addition;
    EXPECT_EQ(finishSteps(options, row.checked), row.steps)
        << "Addition " << row.addition << " checked " << row.checked << " Dll set " << !options.Dll.empty();
  }
}

}  // namespace
}  // namespace averlune
