#include "authoring/setup_signer.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "authoring/path_utf8.h"
#include "authoring/signing_command.h"
#include "authoring/tool_process.h"

namespace averlune {
namespace fs = std::filesystem;

namespace {

std::string oneLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

// The command's program: a word that names a folder is a path of its own; a bare name is looked
// up on PATH, as a shell would.
fs::path programOf(const std::string& word) {
  if (word.find_first_of("/\\") != std::string::npos) return fs::u8path(word);
  return findProgramOnPath(word);
}

}  // namespace

fs::path findSigningTool() { return findProgramOnPath("osslsigncode"); }

std::string signWithTool(const fs::path& tool, const SigningRequest& request, const fs::path& file) {
  fs::path output = file;
  output += ".signed";
  fs::path log = file;
  log += ".signing-log";
  std::vector<std::string> arguments = {"sign", "-certs", utf8Text(request.certificate), "-key", utf8Text(request.key)};
  if (!request.timestampUrl.empty()) arguments.insert(arguments.end(), {"-ts", request.timestampUrl});
  arguments.insert(arguments.end(), {"-in", utf8Text(file), "-out", utf8Text(output)});

  // The tool's output goes to a file beside the program: it is the reason shown when signing fails.
  const std::optional<int> exitCode = runProgram(tool, arguments, log);
  std::ostringstream said;
  said << std::ifstream(log).rdbuf();
  std::error_code ignored;
  fs::remove(log, ignored);
  if (exitCode == 0 && fs::is_regular_file(output, ignored)) {
    std::error_code error;
    fs::rename(output, file, error);
    if (!error) return {};
    fs::remove(output, ignored);
    return "cannot replace " + utf8Text(file) + " by its signed copy: " + error.message();
  }
  fs::remove(output, ignored);
  if (!exitCode) return "cannot start " + utf8Text(tool);
  const std::string reason = oneLine(said.str());
  return "signing failed: " + (reason.empty() ? "osslsigncode reported no reason" : reason);
}

std::string signWithCommand(const SigningRequest& request, const fs::path& file) {
  // Absolute, so that no path can start with "-" and be taken for one of the tool's options.
  std::error_code ignored;
  const std::vector<std::string> words = signingCommandFor(request.command, utf8Text(fs::absolute(file, ignored)));
  const fs::path program = programOf(words.front());
  // The builder's own standard output stays its own: the command's goes to standard error, where
  // a tool that asks for a PIN is seen.
  const std::optional<int> exitCode =
      program.empty() ? std::nullopt : runProgram(program, {words.begin() + 1, words.end()}, {});
  if (!exitCode) return "cannot start the signing command's program " + request.command.front();
  if (*exitCode == 0) return {};
  return "the signing command ended with exit code " + std::to_string(*exitCode) + " on " + utf8Text(file);
}

}  // namespace averlune
