#pragma once
// Reader of the key-value configuration files (the setup script, OS.dat, the language files):
// lines "key = value" under group headers "[name]", comments starting with ";".
//
// The file is read whole at `open` and held as its entries in file order. Lookups are bounded by
// the current group: they start after its header (or at the first entry while no group is
// selected) and stop at the next header, and the first matching key wins. Keys and group names
// match with ASCII letters compared without regard to case; every other character must be equal.
//
// Encoding: a file that starts with the UTF-8 byte-order mark is UTF-8 (ill-formed bytes decode
// as the system's decoder decodes them), any other file is ISO-8859-1. Entries are held as UTF-8
// either way; every text handed out is UTF-16.
//
// A reader that is not open, or whose last selectGroup failed, answers every read with its
// default. Nothing here shows a message: callers decide what a missing file means.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace averlune {

struct KeyValueEntry {
  enum class Kind { GroupHeader, Comment, Key };
  Kind kind = Kind::Key;
  std::string name;   // group name, comment text (after ";") or key; UTF-8
  std::string value;  // raw value of a key entry, leading spaces and tabs removed; UTF-8
  std::size_t line = 0;  // where the entry stands in the file, counting from 1
};

// What readers asked of a file, for a caller that wants to know which entries the setup reads and
// which it never sees (the builder's authoring check). The readers themselves never look at it.
struct KeyValueReadLog {
  struct Lookup {
    std::size_t groupHeader;  // index of the searched group's header; kNoGroup before any header
    std::string key;          // UTF-8, as asked
    std::size_t found;        // index of the entry that answered; kNotFound when none did
  };
  static constexpr std::size_t kNoGroup = static_cast<std::size_t>(-1);
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
  std::vector<Lookup> lookups;            // reads made while a group (or no group) was current
  std::vector<std::string> missingGroups;  // groups selected that the file does not have; UTF-8
};

struct KeyValueFile {
  enum class Group { None, Selected, Failed };
  bool isOpen = false;
  std::vector<KeyValueEntry> entries;
  Group group = Group::None;
  std::size_t groupHeader = 0;  // index of the current group's header while group == Selected
  KeyValueReadLog* readLog = nullptr;  // set after open by a caller that wants the reads logged
};

// Closes `file`, then reads the file at `path`. False when it does not exist or cannot be read;
// `file` is then closed.
bool open(KeyValueFile& file, const std::u16string& path);

// The same from the bytes of a file already in memory; always succeeds.
void openBytes(KeyValueFile& file, std::string_view bytes);

// Makes the first group named `name` the current one. The empty name selects "no group" (keys
// before the first header). False when no such group exists or the file is not open; every read
// then gives its default until a later selectGroup succeeds.
bool selectGroup(KeyValueFile& file, std::u16string_view name);

// The value of `key` in the current group with trailing spaces and tabs removed, taken literally
// (no quotes or escapes), or `defaultText` when the key is not there.
std::u16string readString(const KeyValueFile& file, std::u16string_view key, std::u16string_view defaultText);

// The value of `key` read as a C-style decimal integer: leading white space, an optional sign,
// then digits up to the first other character. A key that is present without digits reads as 0,
// not as `defaultValue`. Values beyond the 32-bit range saturate at its limits.
std::int32_t readInteger(const KeyValueFile& file, std::u16string_view key, std::int32_t defaultValue);

// Releases the entries; reads give defaults until the next open.
void close(KeyValueFile& file);

// The C-style decimal parse used by readInteger, on the value's UTF-8 bytes.
std::int32_t parseCInteger(std::string_view text);

}  // namespace averlune
