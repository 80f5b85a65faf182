#pragma once
// Where the running builder's own file lies: the bare setup program of a release package lies
// beside it. Implemented once per system: builder_program_path.cpp (Linux) and
// builder_program_path_win.cpp (Windows).
#include <filesystem>

namespace averlune {

// The builder program's own file, absolute; an empty path when the system cannot say.
std::filesystem::path builderProgramPath();

}  // namespace averlune
