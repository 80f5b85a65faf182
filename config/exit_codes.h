#pragma once
// The exit codes of both programs, one table, as deployment tools classify them without hand
// edits. A run with a window ends with success on every path (the user has been told); a silent
// run tells its outcome here.
namespace averlune {

enum class ExitCode : unsigned {
  success = 0,           // installed, or removed
  restartNeeded = 3010,  // done, but files wait for the next restart to be replaced or removed
  cancelled = 1602,      // the user (or the setup script) cancelled
  failed = 1603,         // aborted, failed at start-up, refused folder or log, items left
  anotherSetupRunning = 1618,
};

}  // namespace averlune
