#include "authoring/setup_signer.h"

#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "authoring/path_utf8.h"
#include "authoring/tool_process.h"

namespace averlune {
namespace fs = std::filesystem;

fs::path findSigningTool() { return findProgramOnPath("osslsigncode"); }

std::string signSetup(const fs::path& tool, const SigningRequest& request, const fs::path& unsignedSetup,
                      const fs::path& output) {
  // The tool's output goes to a file beside the setup: it is the reason shown when signing fails.
  fs::path log = output;
  log += ".signing-log";
  const std::optional<int> exitCode =
      runProgram(tool,
                 {"sign", "-certs", utf8Text(request.certificate), "-key", utf8Text(request.key), "-in",
                  utf8Text(unsignedSetup), "-out", utf8Text(output)},
                 log);

  std::ostringstream said;
  said << std::ifstream(log).rdbuf();
  std::error_code ignored;
  fs::remove(log, ignored);
  if (exitCode == 0 && fs::is_regular_file(output, ignored)) return {};
  fs::remove(output, ignored);
  std::string reason = said.str();
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  for (char& c : reason) {
    if (c == '\n') c = ' ';
  }
  if (!exitCode) return "cannot start " + utf8Text(tool);
  return "signing failed: " + (reason.empty() ? "osslsigncode reported no reason" : reason);
}

}  // namespace averlune
