#pragma once
// The author's own signing command (--sign-command): a command line with "{}" where the path of the
// file to sign goes. It is split into words here and run without a shell, so a file's path always
// reaches the program as one whole argument, whatever characters it holds (spaces, quotes, ";",
// "$(...)"): no name can inject a command. An author who needs a shell's features names the shell
// in the command: sh -c '...' sign {} passes the path to the script as "$1".
//
// Splitting: words are separated by spaces and tabs; text inside '...' or "..." belongs to the word
// it stands in, quotes removed, a quote of the other kind inside kept as it is. There are no
// backslash escapes, so Windows paths (C:\Program Files\...) can be written as they are, quoted
// where they hold spaces. Every "{}" in a word is replaced by the file's path, inside quotes too.
#include <string>
#include <string_view>
#include <vector>

namespace averlune {

// Splits `command` into `words`. Empty on success, otherwise the reason for the setup author
// (an unclosed quote, no program, no "{}").
std::string splitSigningCommand(std::string_view command, std::vector<std::string>& words);

// The words of one run: `words` with every "{}" replaced by `path`.
std::vector<std::string> signingCommandFor(const std::vector<std::string>& words, const std::string& path);

}  // namespace averlune
