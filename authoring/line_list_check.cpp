#include "authoring/line_list_check.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "authoring/manual_sections.h"
#include "config/line_list_file.h"
#include "base/path_text.h"
#include "base/registry_text.h"
#include "base/text_decoding.h"

namespace averlune {
namespace {

constexpr std::u16string_view kInstallPath = u"<installpath>";

// A line-list file read line by line, knowing which line of the file comes next. The 4 flag bytes
// of the registry list stand at the start of the line after the record, as an editor shows them.
struct CountedList {
  LineListFile list;
  std::size_t nextLine = 1;
  std::u16string readLine() {
    ++nextLine;
    return averlune::readLine(list);
  }
};

std::string hexBytes(std::string_view bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X ", c);
    text += digits;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

void warn(CheckProblems& problems, const std::filesystem::path& path, std::size_t line, std::string text,
          const char* section) {
  addProblem(problems, CheckProblem::Severity::warning, path, line, std::move(text), section);
}

}  // namespace

void checkRegistryList(std::string bytes, const std::filesystem::path& path, CheckProblems& problems) {
  CountedList file;
  openBytes(file.list, std::move(bytes));
  while (!atEnd(file.list)) {
    const std::size_t first = file.nextLine;
    const std::u16string rootName = file.readLine();
    for (int i = 0; i < 3; ++i) file.readLine();
    if (registryRootFromName(rootName, RegistryRoot::none) == RegistryRoot::none) {
      warn(problems, path, first,
           "the root \"" + encodeUtf8(rootName) +
               "\" is not HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS or "
               "HKEY_CURRENT_CONFIG, so the setup writes this value under HKEY_CURRENT_USER; write one of those "
               "names exactly so, in capitals",
           manual::kRegistryValues);
    }
    const std::string_view flag = std::string_view(file.list.bytes).substr(file.list.position, 4);
    const std::uint32_t value = readUInt32(file.list);
    if (flag.size() < 4) {
      warn(problems, path, file.nextLine,
           "the record of line " + std::to_string(first) + " ends without its 4 uninstall flag bytes; end it with "
               "the bytes 00 00 00 00 (keep) or 01 00 00 00 (remove at uninstall)",
           manual::kRegistryValues);
    } else if (value > 1) {
      const bool text = std::all_of(flag.begin(), flag.end(), [](char c) { return c >= ' ' && c <= '~'; }) ||
                        flag.find_first_of("\r\n") != std::string_view::npos;
      warn(problems, path, file.nextLine,
           "the uninstall flag of the record of line " + std::to_string(first) + " is the bytes " + hexBytes(flag) +
               ", not 00 00 00 00 (keep) or 01 00 00 00 (remove at uninstall)" +
               (text ? "; it looks written as text, and the records after it are read out of step" : "") +
               "; write the flag as those 4 bytes, not as text",
           manual::kRegistryValues);
    }
  }
}

void checkShortcutList(std::string bytes, const std::filesystem::path& path, const std::vector<std::string>* appNames,
                       CheckProblems& problems) {
  CountedList file;
  openBytes(file.list, std::move(bytes));
  while (!atEnd(file.list)) {
    const std::size_t first = file.nextLine;
    std::u16string target = file.readLine();
    int lines = 1;
    for (; lines < 3 && !atEnd(file.list); ++lines) file.readLine();
    if (lines < 3) {
      warn(problems, path, first,
           "the shortcut record of line " + std::to_string(first) + " has " + std::to_string(lines) +
               " of its 3 lines (target, name, arguments); add the missing lines, the arguments line empty when "
               "there are none",
           manual::kShortcuts);
    }
    if (!appNames) continue;
    if (!target.empty() && target.front() == u'"') target.erase(0, 1);
    if (!target.empty() && target.back() == u'"') target.pop_back();
    if (target.compare(0, kInstallPath.size(), kInstallPath) != 0) continue;  // outside the application folder
    std::u16string rest = target.substr(kInstallPath.size());
    std::replace(rest.begin(), rest.end(), u'\\', u'/');
    while (!rest.empty() && rest.front() == u'/') rest.erase(0, 1);
    while (!rest.empty() && rest.back() == u'/') rest.pop_back();
    // Other placeholders and environment references are only known when the setup runs.
    if (rest.empty() || rest.find_first_of(u"<%") != std::u16string::npos) continue;
    const std::string wanted = encodeUtf8(rest);
    const bool found = std::any_of(appNames->begin(), appNames->end(),
                                   [&](const std::string& name) { return equalsIgnoringAsciiCase(name, wanted); });
    if (!found) {
      warn(problems, path, first,
           "the shortcut target " + encodeUtf8(target) + " names no file of the application folder; correct the "
               "path or add the file to the application folder",
           manual::kShortcuts);
    }
  }
}

}  // namespace averlune
