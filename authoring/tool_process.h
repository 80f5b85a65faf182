#pragma once
// Starting another program of the build machine (the signing tool) and waiting for its end.
// Implemented once per system: tool_process.cpp (POSIX) and tool_process_win.cpp (Windows).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace averlune {

// The program `name` in the first folder of PATH that has it (on Windows `name` with ".exe" when it
// has no extension of its own), or an empty path when none has.
std::filesystem::path findProgramOnPath(const std::string& name);

// Runs `program` with `arguments` (UTF-8, the program's own name not among them), never through a
// shell, and waits for its end; its standard output and error go together into `log` (created or
// replaced), or to the builder's standard error when `log` is empty. The program's exit code (128
// and the signal's number for a program stopped by one), or nothing when it could not be started.
std::optional<int> runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                              const std::filesystem::path& log);

}  // namespace averlune
