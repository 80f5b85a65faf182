#pragma once
// The author's line lists that the setup reads record by record: the registry list and the two
// shortcut lists. A record that reads differently from what the author meant is reported; the
// setup itself never complains about them.
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/check_problem.h"

namespace averlune {

// Registry.dat: root names the setup does not map (the value would land under HKEY_CURRENT_USER),
// uninstall flags that are not the 4 bytes of 0 or 1, and a record cut short.
void checkRegistryList(std::string bytes, const std::filesystem::path& path, CheckProblems& problems);

// Desktop.dat or Startmenu.dat: targets in the application folder ("<installpath>\...") that name
// no file or folder of it, and a record cut short. `appNames` are the application folder's files
// and folders by relative name with "/" between levels; null skips the target check.
void checkShortcutList(std::string bytes, const std::filesystem::path& path, const std::vector<std::string>* appNames,
                       CheckProblems& problems);

}  // namespace averlune
