#pragma once
// The keys and groups of a key-value file that the setup never reads: misspelt or unknown keys,
// keys outside any group, repeated keys and repeated or unknown groups. What the setup reads is
// taken from the setup's own reader run over the file with a read log, never from a list here.
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/check_problem.h"
#include "config/key_value_file.h"

namespace averlune {

struct KeyCheckRules {
  // Groups the setup does not read but another reader does; their keys are not judged here.
  std::vector<std::string> otherReadersGroups;
  // Said of a group the reader asked for and the file lacks, after "no group [name]: ".
  std::string missingGroupEffect;
  const char* section = "";  // the manual's section on the file
};

// Adds a warning to `problems` for every key entry of `file` that no lookup of `log` answered and
// for every group the reader asked for in vain. Lines whose key begins with "//" are taken as the
// comments authors write that way. `path` names the file in the problems.
void checkUnreadKeys(const KeyValueFile& file, const KeyValueReadLog& log, const KeyCheckRules& rules,
                     const std::filesystem::path& path, CheckProblems& problems);

// The closest of `candidates` to `name`, letter case aside, when it is close enough to be a
// misspelling (a few letters apart); empty otherwise.
std::string closestName(const std::string& name, const std::vector<std::string>& candidates);

}  // namespace averlune
