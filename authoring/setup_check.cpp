#include "authoring/setup_check.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>

#include "authoring/path_utf8.h"
#include "authoring/configuration_key_check.h"
#include "authoring/line_list_check.h"
#include "authoring/manual_sections.h"
#include "authoring/payload_name_check.h"
#include "authoring/picture_header.h"
#include "authoring/script_flag_check.h"
#include "authoring/source_folder.h"
#include "guards/desktop_start.h"
#include "guards/refused_app_folder.h"
#include "pictures/picture_decode.h"
#include "config/line_list_file.h"
#include "base/path_text.h"
#include "config/placeholders.h"
#include "config/setup_placeholders.h"
#include "config/setup_script.h"
#include "base/text_decoding.h"
#include "config/language_file.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;
using Severity = CheckProblem::Severity;

// The configuration folder as the setup's work folder will hold it: names found letter case aside,
// as Windows finds them.
struct ConfigurationFolder {
  fs::path folder;
  SourceFolder scanned;

  const SourceFile* find(std::string_view name) const {
    const auto at = std::find_if(scanned.files.begin(), scanned.files.end(),
                                 [&](const SourceFile& file) { return equalsIgnoringAsciiCase(file.name, name); });
    return at == scanned.files.end() ? nullptr : &*at;
  }
  fs::path pathOf(std::string_view name) const {
    const SourceFile* file = find(name);
    return file ? file->path : folder / fs::u8path(name);
  }
};

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The setup script as the setup reads it, with the lines its options came from.
struct ScriptReading {
  bool present = false;
  SetupOptions options;
  KeyValueFile file;
  KeyValueReadLog log;

  // The line of `key` in the script; 0 when the script does not set it.
  std::size_t lineOf(std::string_view key) const {
    for (const KeyValueReadLog::Lookup& lookup : log.lookups) {
      if (lookup.found != KeyValueReadLog::kNotFound && equalsIgnoringAsciiCase(lookup.key, key)) {
        return file.entries[lookup.found].line;
      }
    }
    return 0;
  }
};

void checkScript(const ConfigurationFolder& config, ScriptReading& script, CheckProblems& problems) {
  const SourceFile* found = config.find("SC.dat");
  if (!found) {
    addProblem(problems, Severity::error, config.folder / "SC.dat", 0,
               "there is no SC.dat, so the setup would run without a name, folders or pages of its own; add "
               "one (averlune-build --new writes one with every key)",
               manual::kSetupScript);
    return;
  }
  script.present = true;
  openBytes(script.file, fileBytes(found->path));
  script.file.readLog = &script.log;
  readSetupOptions(script.options, script.file, SystemLookup{});
  checkUnreadKeys(script.file, script.log,
                  {{}, "every option of the script takes its default",
                   manual::kSetupScript},
                  found->path, problems);
  for (const FlagProblem& flag : flagProblems(script.options)) {
    const std::string setting = std::string(flag.key) + " = " + std::to_string(flag.value);
    addProblem(problems, Severity::warning, found->path, script.lineOf(flag.key),
               setting + " is neither 0 nor 1, so " + flag.outcome + "; set " + flag.key + " to 0 or 1",
               manual::kSetupScript);
  }
}

// Stand-ins for the target system's folders: each a full path, as Windows gives them.
std::u16string standInVariable(const std::u16string&) { return u"C:\\Folder"; }
std::u16string standInSystemFolder() { return u"C:\\Windows\\system32"; }
std::u16string standInSpecialFolder(int) { return u"C:\\Folder"; }

// ProgramRun as Finish expands it, with stand-ins for the folders of the target system, must be a
// full path: the setup starts nothing else. An author variable at its start is known only on the
// target system, so it passes.
void checkProgramRun(const fs::path& scriptPath, const ScriptReading& script, CheckProblems& problems) {
  const SetupOptions& options = script.options;
  if (options.Addition != 2 || options.ProgramRun.empty()) return;
  SystemLookup standIns;
  standIns.environmentVariable = standInVariable;
  standIns.systemFolder = standInSystemFolder;
  standIns.specialFolder = standInSpecialFolder;
  const std::u16string expanded = expandPlaceholders(options.ProgramRun, u"C:\\Program Files\\App\\",
                                                     placeholderScriptValues(options), {}, standIns);
  const std::size_t start = expanded.find_first_not_of(u'"');
  if (start != std::u16string::npos && expanded[start] == u'<') return;
  if (!programStartOf(expanded).file.empty()) return;
  addProblem(problems, Severity::warning, scriptPath, script.lineOf("ProgramRun"),
             "ProgramRun = " + encodeUtf8(options.ProgramRun) +
                 " is no full path once expanded, so Finish starts nothing (a program named without its folder "
                 "would be searched for, also in folders a user can write to); begin it with <installpath>\\ or "
                 "another folder",
             manual::kSetupScript);
}

// Stand-ins for the folders InstallDir may name, each where Windows keeps it, and the folders of
// those that the setup and the uninstaller refuse as an application folder, guarded alike.
std::u16string installDirVariable(const std::u16string& name) {
  if (name == u"ProgramFiles") return u"C:\\Program Files";
  if (name == u"WINDIR") return u"C:\\Windows";
  if (name == u"TEMP") return u"C:\\Users\\User\\Temp";
  return u"";
}
std::u16string installDirSpecialFolder(int csidl) {
  const std::string number = std::to_string(csidl);
  return u"C:\\Users\\User\\Folder " + std::u16string(number.begin(), number.end());
}
std::vector<ProtectedFolder> installDirProtectedFolders() {
  std::vector<ProtectedFolder> folders = {{u"C:\\Windows\\", FolderGuard::inside},
                                          {u"C:\\Windows\\system32\\", FolderGuard::itself},
                                          {u"C:\\Users\\", FolderGuard::children},
                                          {u"C:\\Users\\User\\Temp\\", FolderGuard::itself},
                                          {u"C:\\Program Files\\", FolderGuard::itself}};
  for (int csidl = 0; csidl < 64; ++csidl) folders.push_back({addBackslash(installDirSpecialFolder(csidl)), FolderGuard::itself});
  return folders;
}

// InstallDir as the setup expands it must be a folder the uninstaller accepts, or no run that asks
// for no folder (/S, or ChangeApplicationFolder = 0) can install at all. An author variable is
// known only on the target system, so a folder that still holds one passes.
void checkInstallDir(const fs::path& scriptPath, const ScriptReading& script, CheckProblems& problems) {
  const SetupOptions& options = script.options;
  if (!script.present || options.Uninstaller != 1) return;
  SystemLookup standIns;
  standIns.environmentVariable = installDirVariable;
  standIns.systemFolder = standInSystemFolder;
  standIns.specialFolder = installDirSpecialFolder;
  const std::u16string expanded =
      expandPlaceholders(options.InstallDir, u"", placeholderScriptValues(options), {}, standIns);
  if (expanded.find(u'<') != std::u16string::npos) return;
  if (!isRefusedAppFolder(addBackslash(expanded), installDirProtectedFolders(), nullptr)) return;
  const std::string who = options.ChangeApplicationFolder == 0 ? "every installation" : "a silent installation (/S)";
  addProblem(problems, Severity::warning, scriptPath, script.lineOf("InstallDir"),
             "InstallDir = " + encodeUtf8(options.InstallDir) +
                 " is no folder of its own (a drive root, a folder of Windows, Program Files itself or a user's "
                 "profile folder), which the uninstaller could never remove the application from, so " + who +
                 " stops before writing anything; name a folder of its own, such as <programfiles>\\<appname>\\",
             manual::kSetupScript);
}

void checkLanguageFile(const SourceFile& language, CheckProblems& problems) {
  KeyValueFile file;
  openBytes(file, fileBytes(language.path));
  KeyValueReadLog log;
  file.readLog = &log;
  readLanguageTexts(file, u"");
  // The uninstaller takes its texts from the group "Uninstall" of the same file.
  checkUnreadKeys(file, log, {{"Uninstall"}, "its texts show empty", manual::kLanguageFiles}, language.path, problems);
}

void checkLanguages(const ConfigurationFolder& config, const ScriptReading& script, CheckProblems& problems) {
  const fs::path scriptPath = config.pathOf("SC.dat");
  const std::size_t languagesLine = script.lineOf("Languages");
  const std::int32_t languages = script.options.Languages;
  const std::string setting = "Languages = " + std::to_string(languages);

  struct Entry {
    std::string name;
    std::size_t line;
  };
  std::vector<Entry> entries;
  const SourceFile* list = config.find("languages.dat");
  if (list) {
    LineListFile file;
    openBytes(file, fileBytes(list->path));
    for (std::size_t line = 1; !atEnd(file); ++line) entries.push_back({encodeUtf8(readLine(file)), line});
  }

  if (languages == 1) {
    if (!config.find("Default.avl")) {
      addProblem(problems, Severity::error, languagesLine ? scriptPath : config.folder / "Default.avl", languagesLine,
                 "there is no Default.avl, the language file of a one-language setup (Languages 1), so the setup "
                 "stops with \"Setup Error!\"; add Default.avl with the wizard's texts",
                 manual::kLanguageFiles);
    }
    if (!entries.empty()) {
      addProblem(problems, Severity::warning, languagesLine ? scriptPath : list->path, languagesLine,
                 setting + " never shows the language dialog, so the " + std::to_string(entries.size()) +
                     " languages of languages.dat are never offered; set Languages to their number or delete "
                     "languages.dat",
                 manual::kSeveralLanguages);
    }
    return;
  }
  if (!script.present) return;  // reported with the script
  if (!list) {
    addProblem(problems, Severity::error, scriptPath, languagesLine,
               setting + " shows the language dialog, which needs languages.dat, so the setup stops with "
                         "\"Setup Error!\"; add languages.dat with one language name a line, or set Languages = 1",
               manual::kSeveralLanguages);
    return;
  }
  if (entries.empty()) {
    addProblem(problems, Severity::error, list->path, 0,
               "languages.dat names no language, so the language dialog offers nothing to choose; write one "
               "language name a line into it",
               manual::kSeveralLanguages);
    return;
  }
  if (static_cast<std::size_t>(languages) != entries.size()) {
    addProblem(problems, Severity::warning, scriptPath, languagesLine,
               setting + " disagrees with languages.dat, which names " + std::to_string(entries.size()) +
                   (entries.size() == 1 ? " language" : " languages") + "; set Languages = " +
                   std::to_string(entries.size()),
               manual::kSeveralLanguages);
  }
  for (const Entry& entry : entries) {
    if (!config.find(entry.name + ".avl")) {
      addProblem(problems, Severity::error, list->path, entry.line,
                 "there is no language file \"" + entry.name + ".avl\" for the language \"" + entry.name +
                     "\", so choosing it fails with \"Could not load the language file!\"; add " + entry.name +
                     ".avl or delete the line",
                 manual::kSeveralLanguages);
    }
  }
}

// Why the setup's own decoders refuse a picture whose structure holds together, with the bound
// they keep; empty when it decodes. They decide in the end: a picture of 8000 x 8000 pixels is
// well formed, but needs more memory than the setup gives one.
std::string decoderProblem(const std::string& bytes, bool bitmapAllowed) {
  const std::string bound = std::to_string(kPictureMemoryBound >> 20) + " MiB";
  if (bytes.size() > kPictureMemoryBound) return "the file is larger than the " + bound + " the setup reads of a picture";
  Picture picture;
  if (decodePicture(bytes, bitmapAllowed ? PictureFormats::bitmapOrJpeg : PictureFormats::jpeg, picture)) return {};
  return "the setup's decoder refuses it: decoded, it would need more than the " + bound +
         " the setup gives a picture (3 bytes a pixel), or its data is damaged";
}

void checkPicture(const ConfigurationFolder& config, std::string_view name, bool bitmapAllowed, const char* effect,
                  CheckProblems& problems) {
  const char* fix = bitmapAllowed ? "save it again as a baseline JPEG or an uncompressed Windows bitmap"
                                  : "save it again as a baseline JPEG";
  constexpr const char* kSmaller = "save it again smaller (or anew, if it is damaged)";
  const SourceFile* picture = config.find(name);
  if (!picture) return;
  const std::string bytes = fileBytes(picture->path);
  std::string problem;
  if (bitmapAllowed && bytes.rfind("BM", 0) == 0) {
    problem = bitmapProblem(bytes);
  } else {
    problem = jpegProblem(bytes);
    if (bitmapAllowed && problem == "it is not a JPEG picture") problem = "it is neither a Windows bitmap nor a JPEG picture";
  }
  if (problem.empty()) {
    problem = decoderProblem(bytes, bitmapAllowed);
    fix = kSmaller;
  }
  if (!problem.empty()) {
    addProblem(problems, Severity::warning, picture->path, 0,
               "the picture does not load, as " + problem + ", so " + effect + "; " + fix, manual::kPictures);
  }
}

void checkFeatureFiles(const ConfigurationFolder& config, const ScriptReading& script, CheckProblems& problems) {
  const fs::path scriptPath = config.pathOf("SC.dat");
  const SetupOptions& options = script.options;
  if (!options.Dll.empty() && !config.find("dll.dll")) {
    addProblem(problems, Severity::warning, scriptPath, script.lineOf("Dll"),
               "Dll is set, but there is no dll.dll, so nothing is called at the finish; add dll.dll or leave Dll "
               "empty",
               manual::kFinishPlugin);
  }
  if (options.SplashScreen == 1 && !config.find("isps.dat")) {
    addProblem(problems, Severity::warning, scriptPath, script.lineOf("SplashScreen"),
               "SplashScreen = 1, but there is no isps.dat, so no splash screen is shown; add isps.dat or set "
               "SplashScreen = 0",
               manual::kPictures);
  }
  if (script.present && options.Registry != 1 && config.find("Registry.dat")) {
    addProblem(problems, Severity::warning, scriptPath, script.lineOf("Registry"),
               "Registry is not 1, so the values of Registry.dat are never written; set Registry = 1 or delete "
               "Registry.dat",
               manual::kRegistryValues);
  }
  checkProgramRun(scriptPath, script, problems);
  checkInstallDir(scriptPath, script, problems);
  checkPicture(config, "isps.dat", true, "no splash screen is shown", problems);
  checkPicture(config, "Image_Top.jpg", false, "the wizard shows its built-in header picture", problems);
  checkPicture(config, "Image_Left.jpg", false, "the wizard shows its built-in side picture", problems);
}

}  // namespace

CheckProblems checkSetup(const fs::path& configFolder, const fs::path& appFolder) {
  CheckProblems problems;
  ConfigurationFolder config{configFolder, {}};
  if (std::string problem = scanSourceFolder(configFolder, config.scanned); !problem.empty()) {
    addProblem(problems, Severity::error, configFolder, 0, problem + "; give a configuration folder that can be read",
               manual::kConfigurationFolder);
    return problems;
  }
  checkConfigurationNames(config.scanned, configFolder, problems);

  ScriptReading script;
  checkScript(config, script, problems);
  if (!config.find("OS.dat")) {
    addProblem(problems, Severity::error, configFolder / "OS.dat", 0,
               "there is no OS.dat, so the setup accepts no Windows version and stops at start; add OS.dat with a "
               "line \"<Windows name> = 1\" for each version it may run on",
               manual::kWindowsVersions);
  }
  checkLanguages(config, script, problems);
  for (const SourceFile& file : config.scanned.files) {
    const bool languageFile = file.name.find('/') == std::string::npos && file.name.size() > 4 &&
                              equalsIgnoringAsciiCase(std::string_view(file.name).substr(file.name.size() - 4), ".avl");
    if (languageFile) checkLanguageFile(file, problems);
  }
  checkFeatureFiles(config, script, problems);
  if (const SourceFile* list = config.find("Registry.dat")) checkRegistryList(fileBytes(list->path), list->path, problems);

  std::vector<std::string> appNames;
  bool appScanned = false;
  if (!appFolder.empty()) {
    SourceFolder application;
    if (std::string problem = scanSourceFolder(appFolder, application); !problem.empty()) {
      addProblem(problems, Severity::error, appFolder, 0, problem + "; give an application folder that can be read",
                 manual::kApplicationFolder);
    } else {
      appScanned = true;
      checkPayloadNames(application, appFolder, problems);
      for (const SourceFile& file : application.files) appNames.push_back(file.name);
      appNames.insert(appNames.end(), application.subfolders.begin(), application.subfolders.end());
    }
  }
  for (const char* name : {"Desktop.dat", "Startmenu.dat"}) {
    if (const SourceFile* list = config.find(name)) {
      checkShortcutList(fileBytes(list->path), list->path, appScanned ? &appNames : nullptr, problems);
    }
  }
  return problems;
}

int checkExitCode(const CheckProblems& problems, bool strict) {
  const bool errors = std::any_of(problems.begin(), problems.end(),
                                  [](const CheckProblem& p) { return p.severity == Severity::error; });
  if (errors) return 2;
  return strict && !problems.empty() ? 1 : 0;
}

std::string problemLine(const CheckProblem& problem) {
  std::string text = utf8Text(problem.file);
  if (problem.line != 0) text += ":" + std::to_string(problem.line);
  text += problem.severity == Severity::error ? ": error: " : ": warning: ";
  text += problem.text;
  if (!problem.section.empty()) text += " [manual: " + problem.section + "]";
  return text;
}

}  // namespace averlune
