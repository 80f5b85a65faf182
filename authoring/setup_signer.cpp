#include "authoring/setup_signer.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "authoring/path_utf8.h"
#include "authoring/signing_command.h"

extern char** environ;

namespace averlune {
namespace fs = std::filesystem;

namespace {

// Starts `arguments` (the program searched on PATH) with `actions`; the exit status, or nothing
// when it could not be started.
bool runToEnd(const std::vector<std::string>& arguments, const posix_spawn_file_actions_t* actions, int& status) {
  std::vector<std::string> copies = arguments;
  std::vector<char*> argv;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], actions, nullptr, argv.data(), environ) != 0) return false;
  return waitpid(child, &status, 0) == child;
}

std::string oneLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

fs::path findSigningTool() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (folder.empty()) continue;
    const fs::path candidate = fs::path(folder) / "osslsigncode";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

std::string signWithTool(const fs::path& tool, const SigningRequest& request, const fs::path& file) {
  const fs::path output = file.string() + ".signed";
  const fs::path log = file.string() + ".signing-log";
  std::vector<std::string> arguments = {tool.string(), "sign", "-certs", request.certificate.string(),
                                        "-key", request.key.string()};
  if (!request.timestampUrl.empty()) arguments.insert(arguments.end(), {"-ts", request.timestampUrl});
  arguments.insert(arguments.end(), {"-in", file.string(), "-out", output.string()});

  // The tool's output goes to a file beside the program: it is the reason shown when signing fails.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  int status = 0;
  const bool ran = runToEnd(arguments, &actions, status);
  posix_spawn_file_actions_destroy(&actions);

  std::ostringstream said;
  said << std::ifstream(log).rdbuf();
  std::error_code ignored;
  fs::remove(log, ignored);
  if (ran && WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs::is_regular_file(output, ignored)) {
    std::error_code error;
    fs::rename(output, file, error);
    if (!error) return {};
    fs::remove(output, ignored);
    return "cannot replace " + utf8Text(file) + " by its signed copy: " + error.message();
  }
  fs::remove(output, ignored);
  if (!ran) return "cannot start " + tool.string();
  const std::string reason = oneLine(said.str());
  return "signing failed: " + (reason.empty() ? "osslsigncode reported no reason" : reason);
}

std::string signWithCommand(const SigningRequest& request, const fs::path& file) {
  // The builder's own standard output stays its own: the command's goes to standard error.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
  int status = 0;
  // Absolute, so that no path can start with "-" and be taken for one of the tool's options.
  std::error_code ignored;
  const bool ran = runToEnd(signingCommandFor(request.command, fs::absolute(file, ignored).string()), &actions, status);
  posix_spawn_file_actions_destroy(&actions);
  if (!ran) return "cannot start the signing command's program " + request.command.front();
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
  const std::string how = WIFEXITED(status) ? "ended with exit code " + std::to_string(WEXITSTATUS(status))
                                            : std::string("was stopped by a signal");
  return "the signing command " + how + " on " + utf8Text(file);
}

}  // namespace averlune
