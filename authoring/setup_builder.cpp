#include "authoring/setup_builder.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "authoring/path_utf8.h"
#include "authoring/cabinet_writer.h"
#include "authoring/dos_time.h"
#include "authoring/payload_archive_writer.h"
#include "authoring/payload_name_check.h"
#include "authoring/setup_file_writer.h"
#include "authoring/source_folder.h"
#include "config/uninstaller_image.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

// True when `path` is `folder` or lies below it, once both are made absolute and normal.
bool isInside(const fs::path& path, const fs::path& folder) {
  std::error_code error;
  const fs::path a = fs::weakly_canonical(fs::absolute(path, error), error);
  const fs::path b = fs::weakly_canonical(fs::absolute(folder, error), error);
  auto ia = a.begin();
  for (const fs::path& part : b) {
    if (part.empty()) continue;  // a trailing separator
    if (ia == a.end() || *ia != part) return false;
    ++ia;
  }
  return true;
}

std::string checkFolder(const fs::path& folder, const char* role) {
  std::error_code error;
  if (folder.empty()) return std::string("no ") + role + " given";
  const fs::file_status status = fs::status(folder, error);
  if (!fs::exists(status)) return std::string("the ") + role + " " + utf8Text(folder) + " does not exist";
  if (!fs::is_directory(status)) return std::string("the ") + role + " " + utf8Text(folder) + " is not a folder";
  return {};
}

std::string checkOutput(const BuildRequest& request) {
  if (request.output.empty()) return "no output file given";
  std::error_code error;
  if (fs::is_directory(request.output, error)) return "the output " + utf8Text(request.output) + " is a folder";
  const fs::path parent = fs::absolute(request.output, error).parent_path();
  if (!fs::is_directory(parent, error)) return "the folder " + utf8Text(parent) + " for the output does not exist";
  if (fs::equivalent(request.output, request.setupProgram, error)) {
    return "the output would replace the bare setup program; choose another output file";
  }
  // A setup written into one of the folders would be packed into the next build from them.
  if (isInside(request.output, request.configFolder)) return "the output must not lie inside the configuration folder";
  if (isInside(request.output, request.appFolder)) return "the output must not lie inside the application folder";
  return {};
}

std::string readEntry(const fs::path& path, std::vector<std::uint8_t>& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + utf8Text(path);
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return "cannot read " + utf8Text(path);
  return {};
}

std::string readConfiguration(const SourceFolder& config, std::vector<CabinetEntry>& entries) {
  for (const SourceFile& file : config.files) {
    if (isCabinetUninstallerName(file.name)) {
      return std::string("the configuration folder must not hold ") + kCabinetUninstallerName + ": " +
             kUninstallerNameClash;
    }
    CabinetEntry entry;
    entry.name = file.name;
    for (char& c : entry.name) {
      if (c == '/') c = '\\';
    }
    if (entry.name.size() > kCabinetMaxNameBytes) return "the name " + file.name + " is longer than 255 bytes";
    if (std::string problem = readEntry(file.path, entry.data); !problem.empty()) return problem;
    entry.modified = file.modified;
    entry.attributes = kAttributeArchive;
    entries.push_back(std::move(entry));
  }
  return {};
}

}  // namespace

std::string buildSetup(const BuildRequest& request) {
  if (request.setupProgram.empty()) return "no setup program given";
  std::error_code error;
  if (!fs::is_regular_file(request.setupProgram, error)) {
    return "the setup program " + utf8Text(request.setupProgram) + " does not exist or is not a file";
  }
  if (std::string problem = checkBareSetupProgram(request.setupProgram); !problem.empty()) return problem;
  if (std::string problem = checkFolder(request.configFolder, "configuration folder"); !problem.empty()) return problem;
  if (std::string problem = checkFolder(request.appFolder, "application folder"); !problem.empty()) return problem;
  if (std::string problem = checkOutput(request); !problem.empty()) return problem;

  SourceFolder config;
  if (std::string problem = scanSourceFolder(request.configFolder, config); !problem.empty()) return problem;
  if (config.files.empty()) {
    return "the configuration folder " + utf8Text(request.configFolder) + " holds no files; it needs at least SC.dat";
  }
  SourceFolder application;
  if (std::string problem = scanSourceFolder(request.appFolder, application); !problem.empty()) return problem;

  std::vector<CabinetEntry> entries;
  if (std::string problem = readConfiguration(config, entries); !problem.empty()) return problem;
  if (!request.signedUninstaller.empty()) {
    CabinetEntry uninstaller;
    uninstaller.name = kCabinetUninstallerName;
    if (std::string problem = readEntry(request.signedUninstaller, uninstaller.data); !problem.empty()) return problem;
    uninstaller.modified = fileDosDateTime(request.signedUninstaller).value_or(DosDateTime{});
    uninstaller.attributes = kAttributeArchive;
    entries.push_back(std::move(uninstaller));
  }
  SetupFileParts parts;
  parts.setupProgram = request.setupProgram;
  if (std::string problem = buildCabinet(entries, parts.cabinet); !problem.empty()) return problem;
  entries.clear();

  parts.payloadArchive = request.output;
  parts.payloadArchive += ".payload.partial";
  std::string problem = writePayloadArchive(application, parts.payloadArchive, request.progress);
  if (problem.empty()) problem = writeSetupFile(parts, request.output);
  fs::remove(parts.payloadArchive, error);  // a leftover would only confuse; its removal may fail harmlessly
  return problem;
}

}  // namespace averlune
