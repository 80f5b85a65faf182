#pragma once
// One finding of the authoring check: where it is and what it costs the setup.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace averlune {

struct CheckProblem {
  // error: the setup would fail, so none is written; warning: it would run but not as meant.
  enum class Severity { warning, error };
  Severity severity = Severity::warning;
  std::filesystem::path file;  // the file at fault, inside the configuration or application folder
  std::size_t line = 0;        // counting from 1; 0 when the problem concerns the whole file
  std::string text;            // the problem and its fix in one line, no trailing full stop
  std::string section;         // the title of the author's manual section that explains it
};

using CheckProblems = std::vector<CheckProblem>;

inline void addProblem(CheckProblems& problems, CheckProblem::Severity severity, const std::filesystem::path& file,
                       std::size_t line, std::string text, const char* section) {
  problems.push_back({severity, file, line, std::move(text), section});
}

}  // namespace averlune
