#include "authoring/setup_signer.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

extern char** environ;

namespace averlune {
namespace fs = std::filesystem;

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

std::string signSetup(const fs::path& tool, const SigningRequest& request, const fs::path& unsignedSetup,
                      const fs::path& output) {
  const fs::path log = output.string() + ".signing-log";
  std::vector<std::string> arguments = {tool.string(), "sign", "-certs", request.certificate.string(),
                                        "-key", request.key.string(), "-in", unsignedSetup.string(),
                                        "-out", output.string()};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  // The tool's output goes to a file beside the setup: it is the reason shown when signing fails.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, tool.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  const bool ran = spawned == 0 && waitpid(child, &status, 0) == child;

  std::ostringstream said;
  said << std::ifstream(log).rdbuf();
  std::error_code ignored;
  fs::remove(log, ignored);
  if (ran && WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs::is_regular_file(output, ignored)) return {};
  fs::remove(output, ignored);
  std::string reason = said.str();
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  for (char& c : reason) {
    if (c == '\n') c = ' ';
  }
  if (!ran) return "cannot start " + tool.string();
  return "signing failed: " + (reason.empty() ? "osslsigncode reported no reason" : reason);
}

}  // namespace averlune
