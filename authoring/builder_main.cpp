// averlune-build: the setup author's command line around buildSetup.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "authoring/build_progress.h"
#include "authoring/builder_program_path.h"
#ifdef _WIN32
#include "authoring/console_output.h"
#endif
#include "authoring/new_setup_folder.h"
#include "authoring/path_utf8.h"
#include "authoring/setup_builder.h"
#include "authoring/setup_check.h"
#include "authoring/setup_signer.h"
#include "authoring/signed_setup_build.h"
#include "authoring/signing_command.h"

namespace {

constexpr const char* kUsage =
    "Usage: averlune-build --config <configuration folder> --app <application folder>\n"
    "                      --output <finished setup> [--setup <bare setup program>]\n"
    "                      [--sign <certificate> <private key> [--timestamp <url>]\n"
    "                       | --sign-command \"<command with {}>\"] [--strict] [--quiet]\n"
    "       averlune-build --check <configuration folder> [<application folder>] [--strict]\n"
    "       averlune-build --new <folder> [--name <application name>]\n"
    "       averlune-build --help | --version\n";

constexpr const char* kHelp =
    "Makes the setup of one application: a copy of the bare Averlune setup program with the\n"
    "setup's configuration and the application's files appended to it. The author's manual,\n"
    "docs/authoring.md, describes every configuration file and key.\n"
    "\n"
    "  --setup <file>            the bare setup program, never a finished setup (default: the\n"
    "                            AverluneSetup.exe beside averlune-build, as the package lays it out)\n"
    "  --config <folder>         the configuration folder (SC.dat, OS.dat, ...), packed whole\n"
    "  --app <folder>            the application folder, installed as it is laid out\n"
    "  --output <file>           the finished setup, replaced only when the build succeeds\n"
    "  --sign <cert> <key>       signs the setup and its uninstaller with osslsigncode (Authenticode)\n"
    "  --timestamp <url>         with --sign: adds an RFC 3161 time-stamp from that service\n"
    "  --sign-command \"<cmd>\"    signs the setup and its uninstaller with your own command, run\n"
    "                            on each file with the file's path in place of {} (no shell:\n"
    "                            words split at spaces, '...' and \"...\" group; the command must\n"
    "                            sign the file in place)\n"
    "  --strict                  treats the check's warnings as errors\n"
    "  --quiet                   prints neither the progress line nor the closing line\n"
    "  --check <config> [<app>]  checks the folders without building; every build checks first\n"
    "  --new <folder>            writes a new setup's configuration folder, ready to build\n"
    "  --name <name>             the application name for --new (default: the folder's name)\n"
    "  --help                    shows this text\n"
    "  --version                 shows the builder's version\n"
    "\n"
    "The check prints each finding as \"<file>:<line>: error|warning: <problem>; <fix> [manual: <section>]\".\n"
    "Errors make the setup fail, so a build with errors writes nothing; warnings make it run\n"
    "otherwise than meant.\n"
    "\n"
    "Example:\n"
    "  averlune-build --new notes/config --name \"Notes\"\n"
    "  averlune-build --config notes/config --app notes/app --output NotesSetup.exe\n"
    "\n"
    "Exit codes:\n"
    "  build    0 the setup was written, 1 it was not, 2 wrong command line\n"
    "  --check  0 nothing found (or warnings without --strict), 1 warnings with --strict,\n"
    "           2 errors or a wrong command line\n"
    "  --new    0 the folder was written, 1 it was not (a folder that is not empty is never\n"
    "           written into), 2 wrong command line\n"
    "  --help, --version  0\n";

constexpr const char* kVersion = "averlune-build " AVERLUNE_VERSION "\n";

int usageError(const std::string& message) {
  std::cerr << "averlune-build: " << message << "\n" << kUsage << "Run averlune-build --help for more.\n";
  return 2;
}

constexpr const char* kBareSetupName = "AverluneSetup.exe";

// The bare setup program a release package keeps beside the builder; empty when there is none.
std::filesystem::path bundledSetupProgram() {
  const std::filesystem::path self = averlune::builderProgramPath();
  if (self.empty()) return {};
  const std::filesystem::path beside = self.parent_path() / kBareSetupName;
  std::error_code error;
  return std::filesystem::is_regular_file(beside, error) ? beside : std::filesystem::path();
}

// The progress line is for a person watching: standard error (where the check's findings go too)
// must be a terminal, so a log or a pipe never fills with redrawn lines.
bool errorOutputIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

// How a build shows its work: the progress line while it packs and the closing line.
struct BuildReport {
  bool quiet = false;
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  averlune::ProgressLine line;
};

// Reports the outcome of a build: the exit code of the command.
int finish(const std::string& error, const averlune::BuildRequest& request, const BuildReport& report) {
  std::cerr << averlune::clearProgressLine(report.line) << std::flush;
  if (!error.empty()) {
    std::cerr << "averlune-build: " << error << "\n";
    return 1;
  }
  if (report.quiet) return 0;
  std::error_code failure;
  const std::uintmax_t size = std::filesystem::file_size(request.output, failure);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - report.started);
  std::cout << averlune::writtenText(averlune::utf8Text(request.output), failure ? 0 : size, took) << "\n";
  return 0;
}

// Prints the problems the check found; true when they allow a setup to be built.
bool reportCheck(const averlune::CheckProblems& problems, bool strict) {
  for (const averlune::CheckProblem& problem : problems) std::cerr << averlune::problemLine(problem) << "\n";
  return averlune::checkExitCode(problems, strict) == 0;
}

}  // namespace

// The command with its arguments as UTF-8 text, on every system.
int runBuilder(int argc, char** argv) {
  BuildReport report;
  averlune::BuildRequest request;
  averlune::SigningRequest signing;
  bool checkOnly = false;
  bool strict = false;
  std::filesystem::path newFolder;
  std::optional<std::string> appName;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::cout << kUsage << "\n" << kHelp;
      return 0;
    }
    if (option == "--version") {
      std::cout << kVersion;
      return 0;
    }
    if (option == "--strict") {
      strict = true;
      continue;
    }
    if (option == "--quiet") {
      report.quiet = true;
      continue;
    }
    if (option == "--check") {
      if (checkOnly) return usageError("--check is given twice");
      if (i + 1 >= argc || std::strlen(argv[i + 1]) == 0) return usageError("--check needs a configuration folder");
      checkOnly = true;
      request.configFolder = std::filesystem::u8path(argv[++i]);
      if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) request.appFolder = std::filesystem::u8path(argv[++i]);
      continue;
    }
    if (option == "--sign") {
      if (i + 2 >= argc || std::strlen(argv[i + 1]) == 0 || std::strlen(argv[i + 2]) == 0) {
        return usageError("--sign needs a certificate and a private key");
      }
      if (!signing.certificate.empty()) return usageError("--sign is given twice");
      signing.certificate = std::filesystem::u8path(argv[++i]);
      signing.key = std::filesystem::u8path(argv[++i]);
      continue;
    }
    if (option == "--sign-command") {
      if (i + 1 >= argc) return usageError("--sign-command needs a command");
      if (!signing.command.empty()) return usageError("--sign-command is given twice");
      if (std::string problem = averlune::splitSigningCommand(argv[++i], signing.command); !problem.empty()) {
        return usageError(problem);
      }
      continue;
    }
    if (option == "--timestamp") {
      if (i + 1 >= argc || std::strlen(argv[i + 1]) == 0) return usageError("--timestamp needs the service's URL");
      if (!signing.timestampUrl.empty()) return usageError("--timestamp is given twice");
      signing.timestampUrl = argv[++i];
      continue;
    }
    if (option == "--name") {
      if (i + 1 >= argc || std::strlen(argv[i + 1]) == 0) return usageError("--name needs a value");
      if (appName) return usageError("--name is given twice");
      appName = argv[++i];
      continue;
    }
    std::filesystem::path* target = nullptr;
    if (option == "--setup") target = &request.setupProgram;
    else if (option == "--new") target = &newFolder;
    else if (option == "--config") target = &request.configFolder;
    else if (option == "--app") target = &request.appFolder;
    else if (option == "--output") target = &request.output;
    else return usageError("unknown option " + option);
    if (i + 1 >= argc || std::strlen(argv[i + 1]) == 0) return usageError(option + " needs a value");
    if (!target->empty()) return usageError(option + " is given twice");
    *target = std::filesystem::u8path(argv[++i]);
  }
  if (!newFolder.empty()) {
    if (checkOnly || !request.setupProgram.empty() || !request.configFolder.empty() || !request.appFolder.empty() ||
        !request.output.empty() || averlune::signingWanted(signing) || !signing.timestampUrl.empty() || strict) {
      return usageError("--new takes only a folder and --name");
    }
    // Without --name the folder's own name, as a setup's folder is usually named after its application.
    std::filesystem::path named = std::filesystem::absolute(newFolder).lexically_normal();
    if (!named.has_filename()) named = named.parent_path();
    const std::string name = appName ? *appName : averlune::utf8Text(named.filename());
    const std::string error = averlune::writeNewSetupFolder(newFolder, name);
    if (!error.empty()) {
      std::cerr << "averlune-build: " << error << "\n";
      return 1;
    }
    if (!report.quiet) {
      std::cout << "averlune-build: wrote the configuration of " << name << " into " << averlune::utf8Text(newFolder)
                << "\n";
    }
    return 0;
  }
  if (appName) return usageError("--name goes with --new");
  if (checkOnly) {
    if (!request.setupProgram.empty() || !request.output.empty() || averlune::signingWanted(signing) ||
        !signing.timestampUrl.empty()) {
      return usageError("--check only checks; give the folders after it and no build options");
    }
    const averlune::CheckProblems problems = averlune::checkSetup(request.configFolder, request.appFolder);
    reportCheck(problems, strict);
    return averlune::checkExitCode(problems, strict);
  }
  if (request.setupProgram.empty()) request.setupProgram = bundledSetupProgram();
  if (request.setupProgram.empty()) {
    return usageError(std::string("--setup is missing, and no ") + kBareSetupName + " lies beside averlune-build");
  }
  if (request.configFolder.empty()) return usageError("--config is missing");
  if (request.appFolder.empty()) return usageError("--app is missing");
  if (request.output.empty()) return usageError("--output is missing");
  if (!signing.certificate.empty() && !signing.command.empty()) return usageError("give --sign or --sign-command, not both");
  if (!signing.timestampUrl.empty() && signing.certificate.empty()) {
    return usageError("--timestamp goes with --sign; a signing command adds its own time-stamp");
  }
  if (!reportCheck(averlune::checkSetup(request.configFolder, request.appFolder), strict)) {
    return finish(strict ? "no setup written: the check found problems (--strict)" : "no setup written: the check found errors",
                  request, report);
  }
  if (!report.quiet && errorOutputIsTerminal()) {
    request.progress = [&report](const averlune::PackingProgress& progress) {
      std::cerr << averlune::redrawProgressLine(report.line, progress, std::chrono::steady_clock::now()) << std::flush;
    };
  }

  if (!averlune::signingWanted(signing)) return finish(averlune::buildSetup(request), request, report);
  if (!signing.command.empty()) {
    return finish(averlune::buildSignedSetup(request, [&](const std::filesystem::path& file) {
                    return averlune::signWithCommand(signing, file);
                  }),
                  request, report);
  }
  const std::filesystem::path tool = averlune::findSigningTool();
  if (tool.empty()) {
    return finish("--sign needs osslsigncode, which is not installed (Debian package osslsigncode)", request, report);
  }
  return finish(averlune::buildSignedSetup(request, [&](const std::filesystem::path& file) {
                  return averlune::signWithTool(tool, signing, file);
                }),
                request, report);
}

#ifdef _WIN32
// The wide command line, so that paths and names outside the ANSI code page arrive whole.
int wmain(int argc, wchar_t** argv) {
  const averlune::ConsoleOutput console;
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(averlune::utf8Text(std::filesystem::path(argv[i])));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return runBuilder(argc, pointers.data());
}
#else
int main(int argc, char** argv) { return runBuilder(argc, argv); }
#endif
