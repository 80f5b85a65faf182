#pragma once
// File names the finished setup cannot carry or write: names that Windows does not allow, names
// that are not UTF-8 text, names that Windows takes for one another, files too large for the
// payload, and configuration names too long for the cabinet, outside the code page in which the
// setup receives them, or taken by the setup for its own.
#include <filesystem>
#include <string_view>

#include "authoring/check_problem.h"
#include "authoring/source_folder.h"

namespace averlune {

// The application folder's files and subfolders, scanned from `folder`.
void checkPayloadNames(const SourceFolder& application, const std::filesystem::path& folder, CheckProblems& problems);

// Whether `name` (a configuration file, relative to its folder) is the one a signed setup carries
// its uninstaller as, letter case aside, as Windows finds it. No configuration folder may hold it:
// kUninstallerNameClash says why.
bool isCabinetUninstallerName(std::string_view name);
constexpr char kUninstallerNameClash[] = "the setup would write it out as its uninstaller";

// The configuration folder's files, scanned from `folder`.
void checkConfigurationNames(const SourceFolder& configuration, const std::filesystem::path& folder,
                             CheckProblems& problems);

}  // namespace averlune
