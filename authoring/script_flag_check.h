#pragma once
// The setup script's options that are 0 or 1, and what the setup does with any other value: some
// read "not 0" and others "exactly 1", so a 2 can switch on half of a feature.
#include <cstdint>
#include <string>
#include <vector>

#include "config/setup_script.h"

namespace averlune {

struct FlagProblem {
  const char* key;      // as the script spells it
  std::int32_t value;   // neither 0 nor 1
  const char* outcome;  // what the setup does with it, in a few words
};

// Each 0/1 option of `options` that holds another value, in the script's key order.
std::vector<FlagProblem> flagProblems(const SetupOptions& options);

}  // namespace averlune
