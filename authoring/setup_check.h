#pragma once
// The authoring check: the mistakes in a setup's configuration and application folders that the
// setup would not report, or would report only on the user's machine. averlune-build runs it on
// request (--check) and before every build.
//
// Errors make the setup fail (it stops at start or cannot write a file), so no setup is built
// with them; warnings make it run otherwise than its author meant (a text shown empty, a value
// under the wrong registry root, a shortcut to nothing, a picture replaced by the built-in one).
#include <filesystem>

#include "authoring/check_problem.h"

namespace averlune {

// Checks the configuration folder and, when `appFolder` is not empty, the application folder
// against it. Problems come in the order found, file by file. A folder that cannot be read is
// itself an error.
CheckProblems checkSetup(const std::filesystem::path& configFolder, const std::filesystem::path& appFolder);

// The exit code of a check: 2 with any error, 1 with warnings when `strict`, 0 otherwise.
int checkExitCode(const CheckProblems& problems, bool strict);

// "<file>:<line>: error: <text>" ("<file>: ..." for a whole file), as compilers print them.
std::string problemLine(const CheckProblem& problem);

}  // namespace averlune
