#include "config/exit_codes.h"

namespace averlune {

ExitCode setupExitCode(bool silent, SetupOutcome outcome, std::int32_t addition) {
  if (!silent) return ExitCode::success;
  switch (outcome) {
    case SetupOutcome::installed:
      return addition == 1 ? ExitCode::restartNeeded : ExitCode::success;
    case SetupOutcome::installedFilesAtRestart:
      return ExitCode::restartNeeded;
    case SetupOutcome::cancelled:
      return ExitCode::cancelled;
    case SetupOutcome::failed:
      return ExitCode::failed;
    case SetupOutcome::anotherSetupRunning:
      return ExitCode::anotherSetupRunning;
  }
  return ExitCode::failed;
}

ExitCode uninstallExitCode(bool silent, UninstallOutcome outcome) {
  if (!silent) return ExitCode::success;
  switch (outcome) {
    case UninstallOutcome::removed:
    case UninstallOutcome::declined:
      return ExitCode::success;
    case UninstallOutcome::removedAtRestart:
      return ExitCode::restartNeeded;
    case UninstallOutcome::refused:
    case UninstallOutcome::itemsLeft:
      return ExitCode::failed;
  }
  return ExitCode::failed;
}

}  // namespace averlune
