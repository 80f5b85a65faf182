#include "config/key_value_file.h"

#include <limits>

#include "base/file_bytes.h"
#include "base/path_text.h"
#include "base/text_decoding.h"

namespace averlune {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view skipBlanks(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  return text.substr(at);
}

std::string_view trimTrailingBlanks(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && isBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

KeyValueEntry classifyLine(std::string_view line) {
  line = skipBlanks(line);
  KeyValueEntry entry;
  if (!line.empty() && line.front() == ';') {
    entry.kind = KeyValueEntry::Kind::Comment;
    entry.name = std::string(line.substr(1));
  } else if (!line.empty() && line.front() == '[') {
    // Everything after the closing bracket is ignored; spaces inside the brackets are part of
    // the name.
    entry.kind = KeyValueEntry::Kind::GroupHeader;
    const std::string_view rest = line.substr(1);
    entry.name = std::string(rest.substr(0, rest.find(']')));
  } else {
    entry.kind = KeyValueEntry::Kind::Key;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      entry.name = std::string(trimTrailingBlanks(line));
    } else {
      entry.name = std::string(trimTrailingBlanks(line.substr(0, equals)));
      entry.value = std::string(skipBlanks(line.substr(equals + 1)));
    }
  }
  return entry;
}

// The key entry for `key` in the current group, or null.
const KeyValueEntry* findKey(const KeyValueFile& file, std::u16string_view key) {
  if (!file.isOpen || file.group == KeyValueFile::Group::Failed) return nullptr;
  const std::string wanted = encodeUtf8(key);
  const bool selected = file.group == KeyValueFile::Group::Selected;
  const std::size_t start = selected ? file.groupHeader + 1 : 0;
  std::size_t found = KeyValueReadLog::kNotFound;
  for (std::size_t i = start; i < file.entries.size(); ++i) {
    const KeyValueEntry& entry = file.entries[i];
    if (entry.kind == KeyValueEntry::Kind::GroupHeader) break;
    if (entry.kind == KeyValueEntry::Kind::Key && equalsIgnoringAsciiCase(entry.name, wanted)) {
      found = i;
      break;
    }
  }
  if (file.readLog) {
    file.readLog->lookups.push_back({selected ? file.groupHeader : KeyValueReadLog::kNoGroup, wanted, found});
  }
  return found == KeyValueReadLog::kNotFound ? nullptr : &file.entries[found];
}

}  // namespace

void openBytes(KeyValueFile& file, std::string_view bytes) {
  close(file);
  std::string text;
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text = std::string(bytes.substr(kByteOrderMark.size()));
  } else {
    text = latin1ToUtf8(bytes);
  }
  // Any run of CR, LF and NUL ends one line, so empty lines never become entries. Line numbers
  // count as an editor does: CR LF, a lone CR or a lone LF each end one line.
  std::size_t at = 0;
  std::size_t line = 1;
  while (at < text.size()) {
    for (; at < text.size() && isLineEnd(text[at]); ++at) {
      if (text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'))) ++line;
    }
    if (at == text.size()) break;
    std::size_t end = at;
    while (end < text.size() && !isLineEnd(text[end])) ++end;
    file.entries.push_back(classifyLine(std::string_view(text).substr(at, end - at)));
    file.entries.back().line = line;
    at = end;
  }
  file.isOpen = true;
}

bool open(KeyValueFile& file, const std::u16string& path) {
  close(file);
  std::string bytes;
  if (!readFileBytes(path, bytes)) return false;
  openBytes(file, bytes);
  return true;
}

bool selectGroup(KeyValueFile& file, std::u16string_view name) {
  if (!file.isOpen) return false;
  if (name.empty()) {
    file.group = KeyValueFile::Group::None;
    return true;
  }
  const std::string wanted = encodeUtf8(name);
  for (std::size_t i = 0; i < file.entries.size(); ++i) {
    const KeyValueEntry& entry = file.entries[i];
    if (entry.kind == KeyValueEntry::Kind::GroupHeader && equalsIgnoringAsciiCase(entry.name, wanted)) {
      file.group = KeyValueFile::Group::Selected;
      file.groupHeader = i;
      return true;
    }
  }
  file.group = KeyValueFile::Group::Failed;
  if (file.readLog) file.readLog->missingGroups.push_back(wanted);
  return false;
}

std::u16string readString(const KeyValueFile& file, std::u16string_view key, std::u16string_view defaultText) {
  const KeyValueEntry* entry = findKey(file, key);
  if (!entry) return std::u16string(defaultText);
  return decodeUtf8(trimTrailingBlanks(skipBlanks(entry->value)));
}

std::int32_t readInteger(const KeyValueFile& file, std::u16string_view key, std::int32_t defaultValue) {
  const KeyValueEntry* entry = findKey(file, key);
  if (!entry) return defaultValue;
  return parseCInteger(entry->value);
}

void close(KeyValueFile& file) { file = KeyValueFile(); }

std::int32_t parseCInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // Accumulate towards the limit of the sign's side so that -2147483648 itself is reachable.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    magnitude = magnitude * 10 + (text[at] - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace averlune
