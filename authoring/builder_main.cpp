// averlune-build: the setup author's command line around buildSetup.
#include <cstring>
#include <iostream>
#include <string>
#include <system_error>

#include "authoring/path_utf8.h"
#include "authoring/setup_builder.h"
#include "authoring/setup_check.h"
#include "authoring/setup_signer.h"

namespace {

constexpr const char* kUsage =
    "Usage: averlune-build --setup <bare setup program> --config <configuration folder>\n"
    "                      --app <application folder> --output <finished setup>\n"
    "                      [--sign <certificate> <private key>] [--strict]\n"
    "       averlune-build --check <configuration folder> [<application folder>] [--strict]\n";

constexpr const char* kHelp =
    "Makes the setup of one application: a copy of the bare Averlune setup program with the\n"
    "setup's configuration and the application's files appended to it.\n"
    "\n"
    "  --setup <file>     the bare setup program (AverluneSetup.exe) as it comes with Averlune.\n"
    "                     A finished setup cannot be used here: start again from the bare one.\n"
    "  --config <folder>  the configuration folder: the files that say how the setup looks and\n"
    "                     what it does. Every file in it is packed; the setup uses these:\n"
    "                       SC.dat                        the setup script\n"
    "                       OS.dat                        the Windows versions the setup accepts\n"
    "                       Variables.dat                 author variables\n"
    "                       languages.dat                 the languages of the language dialog\n"
    "                       Default.avl, <language>.avl   language files with the wizard's texts\n"
    "                       licence.rtf                   the licence agreement\n"
    "                       Image_Top.jpg, Image_Left.jpg the wizard's pictures\n"
    "                       Startmenu.dat, Desktop.dat    the shortcuts to create\n"
    "                       Registry.dat                  the registry values to write\n"
    "                       isps.dat, ssps.dat            the splash picture and splash sound\n"
    "                       icon.dat                      the setup's icon\n"
    "                       dll.dll                       the library called at the finish\n"
    "                     A missing file leaves its feature out, but a setup that runs needs\n"
    "                     at least SC.dat, OS.dat and its language files.\n"
    "  --app <folder>     the application folder: the files to install, with their subfolders,\n"
    "                     laid out as they are to appear in the folder that the user chooses.\n"
    "  --output <file>    the finished setup to write. A file of that name is replaced only when\n"
    "                     the build succeeds.\n"
    "  --sign <certificate> <private key>\n"
    "                     code-signs the finished setup (Authenticode) with osslsigncode, which\n"
    "                     must be installed; the signed setup installs like the unsigned one.\n"
    "  --check <config folder> [<application folder>]\n"
    "                     checks the two folders without building: unknown or misspelt keys in\n"
    "                     SC.dat and the language files, language files missing for languages.dat\n"
    "                     or for Languages, a Languages value that disagrees with languages.dat,\n"
    "                     registry roots the setup does not know and uninstall flags that are not\n"
    "                     the bytes 00 00 00 00 or 01 00 00 00 in Registry.dat, shortcut targets\n"
    "                     that name no file of the application folder, pictures that do not load,\n"
    "                     Dll without dll.dll, and file names a setup cannot carry. Every build\n"
    "                     runs the same check first. Each problem is printed to the error output\n"
    "                     as \"<file>:<line>: error|warning: <text>\". Errors make the setup fail,\n"
    "                     so a build with errors writes no setup; warnings make it run otherwise\n"
    "                     than meant.\n"
    "  --strict           treats warnings as errors: --check exits with 1, a build writes nothing.\n"
    "  --help             shows this text.\n"
    "\n"
    "Example:\n"
    "  averlune-build --setup AverluneSetup.exe --config notes/config --app notes/app \\\n"
    "                 --output NotesSetup.exe\n"
    "\n"
    "The exit code of a build is 0 when the setup was written, 1 when it was not, 2 for a wrong\n"
    "command line. The exit code of --check is 0 when it found nothing (or only warnings without\n"
    "--strict), 1 for warnings with --strict, 2 for errors or a wrong command line.\n";

int usageError(const std::string& message) {
  std::cerr << "averlune-build: " << message << "\n" << kUsage << "Run averlune-build --help for more.\n";
  return 2;
}

// Reports the outcome of a build: the exit code of the command.
int finish(const std::string& error, const averlune::BuildRequest& request) {
  if (!error.empty()) {
    std::cerr << "averlune-build: " << error << "\n";
    return 1;
  }
  std::cout << "averlune-build: wrote " << averlune::utf8Text(request.output) << "\n";
  return 0;
}

// Prints the problems the check found; true when they allow a setup to be built.
bool reportCheck(const averlune::CheckProblems& problems, bool strict) {
  for (const averlune::CheckProblem& problem : problems) std::cerr << averlune::problemLine(problem) << "\n";
  return averlune::checkExitCode(problems, strict) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  averlune::BuildRequest request;
  averlune::SigningRequest signing;
  bool checkOnly = false;
  bool strict = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::cout << kUsage << "\n" << kHelp;
      return 0;
    }
    if (option == "--strict") {
      strict = true;
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
    std::filesystem::path* target = nullptr;
    if (option == "--setup") target = &request.setupProgram;
    else if (option == "--config") target = &request.configFolder;
    else if (option == "--app") target = &request.appFolder;
    else if (option == "--output") target = &request.output;
    else return usageError("unknown option " + option);
    if (i + 1 >= argc || std::strlen(argv[i + 1]) == 0) return usageError(option + " needs a value");
    if (!target->empty()) return usageError(option + " is given twice");
    *target = std::filesystem::u8path(argv[++i]);
  }
  if (checkOnly) {
    if (!request.setupProgram.empty() || !request.output.empty() || !signing.certificate.empty()) {
      return usageError("--check only checks; give the folders after it and no build options");
    }
    const averlune::CheckProblems problems = averlune::checkSetup(request.configFolder, request.appFolder);
    reportCheck(problems, strict);
    return averlune::checkExitCode(problems, strict);
  }
  if (request.setupProgram.empty()) return usageError("--setup is missing");
  if (request.configFolder.empty()) return usageError("--config is missing");
  if (request.appFolder.empty()) return usageError("--app is missing");
  if (request.output.empty()) return usageError("--output is missing");
  if (!reportCheck(averlune::checkSetup(request.configFolder, request.appFolder), strict)) {
    return finish(strict ? "no setup written: the check found problems (--strict)" : "no setup written: the check found errors",
                  request);
  }

  if (signing.certificate.empty()) return finish(averlune::buildSetup(request), request);
  const std::filesystem::path tool = averlune::findSigningTool();
  if (tool.empty()) {
    return finish("--sign needs osslsigncode, which is not installed (Debian package osslsigncode)", request);
  }
  // Built and signed beside the output, which is replaced only by a signed setup.
  const std::filesystem::path finalOutput = request.output;
  request.output = finalOutput.string() + ".unsigned";
  const std::filesystem::path signedOutput = finalOutput.string() + ".signed";
  std::string error = averlune::buildSetup(request);
  if (error.empty()) error = averlune::signSetup(tool, signing, request.output, signedOutput);
  std::error_code failure;
  std::filesystem::remove(request.output, failure);
  if (error.empty()) {
    std::filesystem::rename(signedOutput, finalOutput, failure);
    if (failure) error = "cannot replace " + averlune::utf8Text(finalOutput) + ": " + failure.message();
  }
  std::filesystem::remove(signedOutput, failure);
  request.output = finalOutput;
  return finish(error, request);
}
