#pragma once
// The author's manual (docs/authoring.md) as its tests read it: its headings, its key tables and
// the files it quotes. A key table is the Markdown table after a line
// "<!-- keys: <file> <group> -->" ("-" for the keys before any group); its first column holds the
// keys. A quoted file is the code block after "<!-- file: <path in the repository> -->"; a text an
// administrator pastes elsewhere is the code block after "<!-- snippet: <name> -->".
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "config/key_value_file.h"
#include "base/text_decoding.h"

namespace averlune::testing {

inline std::filesystem::path repositoryFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path();
}

// The manual's lines; none when it is not beside the sources (a test build run elsewhere).
inline std::vector<std::string> manualLines() {
  std::ifstream in(repositoryFolder() / "docs" / "authoring.md");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline std::set<std::string> manualHeadings(const std::vector<std::string>& manual) {
  std::set<std::string> headings;
  for (const std::string& line : manual) {
    if (line.rfind("#", 0) == 0) headings.insert(line.substr(line.find_first_not_of("# ")));
  }
  return headings;
}

// The keys of the table marked for `file` and `group`; `found` tells whether there is one.
inline std::set<std::string> manualKeys(const std::vector<std::string>& manual, const std::string& file,
                                        const std::string& group, bool* found = nullptr) {
  const std::string marker = "<!-- keys: " + file + " " + group + " -->";
  std::set<std::string> keys;
  if (found) *found = false;
  for (std::size_t i = 0; i < manual.size(); ++i) {
    if (manual[i] != marker) continue;
    if (found) *found = true;
    // The header row and the row of dashes, then one row a key.
    for (std::size_t row = i + 3; row < manual.size() && manual[row].rfind("|", 0) == 0; ++row) {
      std::string key = manual[row].substr(1, manual[row].find('|', 1) - 1);
      key = key.substr(key.find_first_not_of(" `"));
      keys.insert(key.substr(0, key.find_last_not_of(" `") + 1));
    }
  }
  return keys;
}

// The groups of every key table of `file`.
inline std::set<std::string> manualGroups(const std::vector<std::string>& manual, const std::string& file) {
  const std::string marker = "<!-- keys: " + file + " ";
  std::set<std::string> groups;
  for (const std::string& line : manual) {
    if (line.rfind(marker, 0) == 0) groups.insert(line.substr(marker.size(), line.size() - marker.size() - 4));
  }
  return groups;
}

// The code block after the line `marker`, lines joined with "\n".
inline std::string manualCodeBlock(const std::vector<std::string>& manual, const std::string& marker) {
  std::string text;
  for (std::size_t i = 0; i < manual.size(); ++i) {
    if (manual[i] != marker) continue;
    for (std::size_t row = i + 2; row < manual.size() && manual[row].rfind("```", 0) != 0; ++row) text += manual[row] + "\n";
  }
  return text;
}

// The code block quoted for `path`.
inline std::string manualQuote(const std::vector<std::string>& manual, const std::string& path) {
  return manualCodeBlock(manual, "<!-- file: " + path + " -->");
}

// The code block of the snippet `name`.
inline std::string manualSnippet(const std::vector<std::string>& manual, const std::string& name) {
  return manualCodeBlock(manual, "<!-- snippet: " + name + " -->");
}

// The keys a reader asked for, by group ("-" for the keys before any group), from its read log.
inline std::map<std::string, std::set<std::string>> keysAsked(const KeyValueFile& file, const KeyValueReadLog& log) {
  std::map<std::string, std::set<std::string>> keys;
  for (const KeyValueReadLog::Lookup& lookup : log.lookups) {
    const std::string group =
        lookup.groupHeader == KeyValueReadLog::kNoGroup ? "-" : file.entries[lookup.groupHeader].name;
    keys[group].insert(lookup.key);
  }
  return keys;
}

// A file with a header for every group `read` asks for, read through `read` with a log: the keys
// the reader knows, by group.
template <typename Read>
std::map<std::string, std::set<std::string>> readerKeys(Read read) {
  KeyValueFile probe;
  KeyValueReadLog firstLog;
  openBytes(probe, "");
  probe.readLog = &firstLog;
  read(probe);
  std::string headers;
  for (const std::string& group : firstLog.missingGroups) headers += "[" + group + "]\n";
  KeyValueFile file;
  KeyValueReadLog log;
  openBytes(file, headers);
  file.readLog = &log;
  read(file);
  return keysAsked(file, log);
}

}  // namespace averlune::testing
