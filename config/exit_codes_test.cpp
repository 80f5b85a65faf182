#include "config/exit_codes.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(ExitCodes, SilentRunsTellTheirOutcomeAndWindowedRunsAlwaysSucceed) {
  const struct {
    SetupOutcome outcome;
    std::int32_t addition;
    unsigned silent;
  } setupRows[] = {
      {SetupOutcome::installed, 0, 0},
      {SetupOutcome::installed, 2, 0},     // a launch is the wizard's alone
      {SetupOutcome::installed, 1, 3010},  // the script asks for a restart, which a silent run leaves to its caller
      {SetupOutcome::installedFilesAtRestart, 0, 3010},
      {SetupOutcome::cancelled, 0, 1602},
      {SetupOutcome::failed, 0, 1603},
      {SetupOutcome::failed, 1, 1603},     // no restart asked of a run that did not install
      {SetupOutcome::anotherSetupRunning, 1, 1618},
  };
  for (const auto& row : setupRows) {
    EXPECT_EQ(static_cast<unsigned>(setupExitCode(true, row.outcome, row.addition)), row.silent)
        << static_cast<int>(row.outcome) << " Addition " << row.addition;
    EXPECT_EQ(setupExitCode(false, row.outcome, row.addition), ExitCode::success);
  }

  const struct {
    UninstallOutcome outcome;
    unsigned silent;
  } uninstallRows[] = {
      {UninstallOutcome::removed, 0},
      {UninstallOutcome::declined, 0},
      {UninstallOutcome::refused, 1603},
      {UninstallOutcome::itemsLeft, 1603},
      {UninstallOutcome::removedAtRestart, 3010},
  };
  for (const auto& row : uninstallRows) {
    EXPECT_EQ(static_cast<unsigned>(uninstallExitCode(true, row.outcome)), row.silent) << static_cast<int>(row.outcome);
    EXPECT_EQ(uninstallExitCode(false, row.outcome), ExitCode::success);
  }
}

}  // namespace
}  // namespace averlune
