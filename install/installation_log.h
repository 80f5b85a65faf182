#pragma once
// The installation's log for administrators: each thing the run does to the system and each
// failure the user is told of, as one plain-text line, written as it happens.
#include <functional>
#include <string>

#include "install/installation_run.h"

namespace averlune {

using LogLine = std::function<void(const std::u16string& line)>;

// Makes `system` write a line through `writeLine` for every call that changes the system or
// reports to the user, before handing the call on; answers are logged after them.
void logInstallation(InstallationSystem& system, const LogLine& writeLine);

}  // namespace averlune
