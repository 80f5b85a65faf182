#pragma once
// The exit codes of both programs, one table, as deployment tools classify them without hand
// edits, and the decision of a run's code from its outcome. A run with a window ends with success
// on every path (the user has been told); a silent run tells its outcome here.
#include <cstdint>

namespace averlune {

enum class ExitCode : unsigned {
  success = 0,           // installed, or removed
  restartNeeded = 3010,  // done, but the machine must restart before the application is complete
  cancelled = 1602,      // the user cancelled
  failed = 1603,         // aborted, failed at start-up, refused folder or log, items left
  anotherSetupRunning = 1618,
};

// How a setup run ended. A silent run has nobody to cancel it and no question the setup script
// could answer with a cancel, so it never ends `cancelled`; the wizard's Cancel does, and keeps 0.
enum class SetupOutcome {
  installed,
  installedFilesAtRestart,  // files in use wait under new names for the restart to take their place
  cancelled,
  failed,  // start-up failure, refused application folder, aborted or failed installation
  anotherSetupRunning,
};

// The setup's exit code. `addition` is the script's Addition: 1 offers a restart on the finish
// page, with its box ticked; a silent run never restarts the machine itself, so it hands that
// request to whoever started it as restartNeeded.
ExitCode setupExitCode(bool silent, SetupOutcome outcome, std::int32_t addition);

// How an uninstaller run ended.
enum class UninstallOutcome {
  removed,    // everything the log lists is gone
  declined,   // the user answered No to the question
  refused,    // the log or its language copy cannot be used or is not vouched for, or no own folder
  itemsLeft,  // items were left or records passed over
  removedAtRestart,  // the rest is gone; files in use are queued for deletion at the next restart
};

// The uninstaller's exit code.
ExitCode uninstallExitCode(bool silent, UninstallOutcome outcome);

}  // namespace averlune
