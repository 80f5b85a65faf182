#pragma once
// File names the finished setup cannot carry or write: names that Windows does not allow, names
// that are not UTF-8 text, names that Windows takes for one another, files too large for the
// payload, and configuration names too long for the cabinet or outside the code page in which the
// setup receives them.
#include <filesystem>

#include "authoring/check_problem.h"
#include "authoring/source_folder.h"

namespace averlune {

// The application folder's files and subfolders, scanned from `folder`.
void checkPayloadNames(const SourceFolder& application, const std::filesystem::path& folder, CheckProblems& problems);

// The configuration folder's files, scanned from `folder`.
void checkConfigurationNames(const SourceFolder& configuration, const std::filesystem::path& folder,
                             CheckProblems& problems);

}  // namespace averlune
