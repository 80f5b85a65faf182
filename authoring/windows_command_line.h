#pragma once
// The command line Windows hands a new program: one text that the program's C runtime splits into
// arguments again, so each argument is quoted by the rules that runtime undoes.
#include <string>
#include <string_view>
#include <vector>

namespace averlune {

// `arguments` joined with spaces, each quoted where it must be: an empty argument or one with a
// space, tab or quote is put in quotes, quotes inside are written \" and the backslashes before a
// quote (or before the closing quote) are doubled; anything else is left as it is. Text is UTF-8
// (only ASCII characters matter to the rules).
std::string windowsCommandLine(const std::vector<std::string>& arguments);

}  // namespace averlune
