#include "authoring/signing_command.h"

namespace averlune {

std::string splitSigningCommand(std::string_view command, std::vector<std::string>& words) {
  std::vector<std::string> found;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (const char c : command) {
    if (quote) {
      if (c == quote) quote = 0;
      else word += c;
    } else if (c == '\'' || c == '"') {
      quote = c;
      inWord = true;
    } else if (c == ' ' || c == '\t') {
      if (inWord) found.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quote) return std::string("the signing command has an unclosed ") + quote;
  if (inWord) found.push_back(std::move(word));
  if (found.empty() || found.front().empty()) return "the signing command names no program";
  bool namesTheFile = false;
  for (const std::string& each : found) namesTheFile = namesTheFile || each.find("{}") != std::string::npos;
  if (!namesTheFile) return "the signing command has no {} where the path of the file to sign goes";
  words = std::move(found);
  return {};
}

std::vector<std::string> signingCommandFor(const std::vector<std::string>& words, const std::string& path) {
  std::vector<std::string> run;
  for (std::string word : words) {
    for (std::size_t at = word.find("{}"); at != std::string::npos; at = word.find("{}", at + path.size())) {
      word.replace(at, 2, path);
    }
    run.push_back(std::move(word));
  }
  return run;
}

}  // namespace averlune
