#pragma once
// Runs a program the way a deployment tool does: started with its command line, waited for, its
// exit code read; no window of it may show meanwhile.
#include <gtest/gtest.h>

#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/window_driver_win.h"

namespace averlune::e2e {

// The exit code, or -1 when the program did not end.
inline int runSilently(const CommandLine& command) {
  TestProcess program(command);
  EXPECT_TRUE(program.started());
  DWORD exitCode = 0;
  while (!program.waitForExit(20, &exitCode)) {
    if (!program.running()) return -1;
    EXPECT_TRUE(topLevelWindows(program.id()).empty()) << "a window showed during a silent run";
  }
  return static_cast<int>(exitCode);
}

}  // namespace averlune::e2e
