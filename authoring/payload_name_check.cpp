#include "authoring/payload_name_check.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <vector>

#include "authoring/cabinet_writer.h"
#include "authoring/code_page_names.h"
#include "authoring/manual_sections.h"
#include "authoring/payload_archive_writer.h"
#include "base/path_text.h"
#include "config/uninstaller_image.h"

namespace averlune {
namespace {

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

// Why Windows cannot create one level of a path with this name; empty when it can.
std::string componentProblem(std::string_view part) {
  if (part.empty()) return "has an empty level";
  for (char c : part) {
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"|?*\\").find(c) != std::string_view::npos) {
      return "holds a character that Windows does not allow in file names";
    }
  }
  if (part.back() == '.' || part.back() == ' ') return "ends in a dot or a space, which Windows drops";
  // Device names stay devices whatever extension follows them.
  const std::string stem = upper(part.substr(0, part.find('.')));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  const bool numbered = stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
                        stem[3] >= '1' && stem[3] <= '9';
  if (numbered || std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices)) {
    return "is a device name on Windows";
  }
  return {};
}

std::string nameProblem(const std::string& name) {
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find('/', start), name.size());
    if (std::string problem = componentProblem(std::string_view(name).substr(start, end - start)); !problem.empty()) {
      return problem;
    }
    start = end + 1;
  }
  if (!storedEntryName(name)) return "is not UTF-8 text, so the setup cannot tell which characters it holds";
  return {};
}

}  // namespace

void checkPayloadNames(const SourceFolder& application, const std::filesystem::path& folder, CheckProblems& problems) {
  std::map<std::string, std::string> seen;  // upper-case name -> first name
  const auto check = [&](const std::string& name, const char* kind) {
    if (std::string problem = nameProblem(name); !problem.empty()) {
      addProblem(problems, CheckProblem::Severity::error, folder / name, 0,
                 std::string("the ") + kind + " name " + problem + ", so the setup cannot write it; rename it",
                 manual::kApplicationFolder);
      return;
    }
    const auto [at, added] = seen.emplace(upper(name), name);
    if (!added) {
      addProblem(problems, CheckProblem::Severity::warning, folder / name, 0,
                 "Windows takes this name for " + at->second + ", so one of the two replaces the other when "
                 "installed; rename one of them",
                 manual::kApplicationFolder);
    }
  };
  for (const SourceFile& file : application.files) {
    check(file.name, "file");
    if (file.size > kPayloadMaxFileBytes) {
      addProblem(problems, CheckProblem::Severity::error, file.path, 0,
                 "the file is 4 GiB or larger, more than a setup can carry; split it or ship it apart from the setup",
                 manual::kApplicationFolder);
    }
  }
  for (const std::string& subfolder : application.subfolders) check(subfolder, "folder");
}

bool isCabinetUninstallerName(std::string_view name) {
  return equalsIgnoringAsciiCase(name, kCabinetUninstallerName);
}

void checkConfigurationNames(const SourceFolder& configuration, const std::filesystem::path& folder,
                             CheckProblems& problems) {
  for (const SourceFile& file : configuration.files) {
    if (isCabinetUninstallerName(file.name)) {
      addProblem(problems, CheckProblem::Severity::error, folder / file.name, 0,
                 std::string("the configuration folder must not hold ") + kCabinetUninstallerName + ", as " +
                     kUninstallerNameClash + "; rename the file or move it out of the configuration folder",
                 manual::kConfigurationFolder);
    } else if (file.name.size() > kCabinetMaxNameBytes) {
      addProblem(problems, CheckProblem::Severity::error, folder / file.name, 0,
                 "the name is longer than " + std::to_string(kCabinetMaxNameBytes) +
                     " bytes, more than the setup's configuration can hold; shorten it",
                 manual::kConfigurationFolder);
    } else if (std::string problem = componentProblem(file.name.substr(file.name.rfind('/') + 1)); !problem.empty()) {
      addProblem(problems, CheckProblem::Severity::error, folder / file.name, 0,
                 "the file name " + problem + ", so the setup cannot unpack it; rename it",
                 manual::kConfigurationFolder);
    } else if (!toAnsiName(file.name)) {
      // The cabinet marks such a name as UTF-8, yet the platform's cabinet iteration (Wine's at
      // least) reports the mark and still hands the setup the name read in the ANSI code page, so
      // the file lands under a garbled name.
      addProblem(problems, CheckProblem::Severity::error, folder / file.name, 0,
                 "the name holds characters outside the Western European Windows code page (1252), in which "
                 "Windows hands the setup the names of its configuration files, so the setup would not find "
                 "the file; rename it with letters of that code page, such as an ASCII name (Russian.avl, "
                 "and the line Russian in languages.dat)",
                 manual::kConfigurationFolder);
    }
  }
}

}  // namespace averlune
