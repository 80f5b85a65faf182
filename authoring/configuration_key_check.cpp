#include "authoring/configuration_key_check.h"

#include <algorithm>
#include <set>

#include "base/path_text.h"

namespace averlune {
namespace {

constexpr std::size_t kNoGroup = KeyValueReadLog::kNoGroup;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Edit distance with adjacent transpositions counted as one step, letter case aside.
std::size_t distance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) && lower(a[i - 2]) == lower(b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

std::string groupName(const KeyValueFile& file, std::size_t header) {
  return header == kNoGroup ? std::string() : file.entries[header].name;
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return equalsIgnoringAsciiCase(n, name); });
}

// The fix of a name the setup never reads: the known name it resembles, or the general one.
std::string withSuggestion(std::string text, const std::string& suggestion, const char* otherwise) {
  return text + (suggestion.empty() ? std::string("; ") + otherwise : "; write " + suggestion + " if that was meant");
}

}  // namespace

std::string closestName(const std::string& name, const std::vector<std::string>& candidates) {
  std::string best;
  std::size_t bestDistance = std::max<std::size_t>(1, std::min<std::size_t>(3, name.size() / 3)) + 1;
  for (const std::string& candidate : candidates) {
    const std::size_t d = distance(name, candidate);
    if (d < bestDistance) {
      bestDistance = d;
      best = candidate;
    }
  }
  return best;
}

void checkUnreadKeys(const KeyValueFile& file, const KeyValueReadLog& log, const KeyCheckRules& rules,
                     const std::filesystem::path& path, CheckProblems& problems) {
  const auto warn = [&](std::size_t line, std::string text) {
    addProblem(problems, CheckProblem::Severity::warning, path, line, std::move(text), rules.section);
  };
  std::set<std::size_t> searchedGroups;
  std::set<std::size_t> readEntries;
  std::vector<std::string> askedGroups;
  for (const KeyValueReadLog::Lookup& lookup : log.lookups) {
    searchedGroups.insert(lookup.groupHeader);
    if (lookup.found != KeyValueReadLog::kNotFound) readEntries.insert(lookup.found);
    if (lookup.groupHeader != kNoGroup && !contains(askedGroups, groupName(file, lookup.groupHeader))) {
      askedGroups.push_back(groupName(file, lookup.groupHeader));
    }
  }
  // Keys asked in each group searched: the names a misspelt key is compared with.
  const auto keysAskedIn = [&](std::size_t header) {
    std::vector<std::string> keys;
    for (const KeyValueReadLog::Lookup& lookup : log.lookups) {
      if (lookup.groupHeader == header && !contains(keys, lookup.key)) keys.push_back(lookup.key);
    }
    return keys;
  };
  std::vector<std::string> knownGroups = askedGroups;
  knownGroups.insert(knownGroups.end(), log.missingGroups.begin(), log.missingGroups.end());
  knownGroups.insert(knownGroups.end(), rules.otherReadersGroups.begin(), rules.otherReadersGroups.end());

  for (const std::string& missing : log.missingGroups) {
    if (!contains(askedGroups, missing)) {
      warn(0, "no group [" + missing + "]: " + rules.missingGroupEffect + "; add the group [" + missing + "]");
    }
  }

  std::size_t group = kNoGroup;
  bool judged = true;  // false inside a group whose keys are reported as a whole or belong to another reader
  for (std::size_t i = 0; i < file.entries.size(); ++i) {
    const KeyValueEntry& entry = file.entries[i];
    if (entry.kind == KeyValueEntry::Kind::GroupHeader) {
      group = i;
      judged = searchedGroups.count(i) != 0;
      if (judged || contains(rules.otherReadersGroups, entry.name)) continue;
      const auto first = std::find_if(file.entries.begin(), file.entries.begin() + static_cast<std::ptrdiff_t>(i),
                                      [&](const KeyValueEntry& e) {
                                        return e.kind == KeyValueEntry::Kind::GroupHeader &&
                                               equalsIgnoringAsciiCase(e.name, entry.name);
                                      });
      if (first != file.entries.begin() + static_cast<std::ptrdiff_t>(i)) {
        warn(entry.line, "the group [" + entry.name + "] repeats the one at line " + std::to_string(first->line) +
                             "; the setup reads only the first, so the keys under this one are never read; move "
                             "them into the first");
      } else {
        warn(entry.line, withSuggestion("unknown group [" + entry.name + "], whose keys the setup never reads",
                                        closestName(entry.name, knownGroups), "rename or delete it"));
      }
      continue;
    }
    if (entry.kind != KeyValueEntry::Kind::Key || !judged || readEntries.count(i) != 0) continue;
    if (entry.name.rfind("//", 0) == 0) continue;
    if (searchedGroups.count(group) == 0) {  // before any header, in a file read by groups
      warn(entry.line, "the key " + entry.name + " stands before any group, so the setup never reads it; move it "
                       "under its group");
      continue;
    }
    const auto earlier = std::find_if(log.lookups.begin(), log.lookups.end(), [&](const KeyValueReadLog::Lookup& l) {
      return l.groupHeader == group && l.found != KeyValueReadLog::kNotFound && equalsIgnoringAsciiCase(l.key, entry.name);
    });
    if (earlier != log.lookups.end()) {
      warn(entry.line, "the key " + entry.name + " repeats line " + std::to_string(file.entries[earlier->found].line) +
                           ", and the setup reads only the first; delete one of the two");
      continue;
    }
    const std::string where = group == kNoGroup ? std::string() : " in [" + groupName(file, group) + "]";
    warn(entry.line, withSuggestion("unknown key " + entry.name + where + ", which the setup never reads",
                                    closestName(entry.name, keysAskedIn(group)), "correct or delete it"));
  }
}

}  // namespace averlune
