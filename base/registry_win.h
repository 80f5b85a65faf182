#pragma once
// The registry library: the setup's and the uninstaller's registry routines. Windows build only
// (registry_win.cpp). Text forms and number parsing are in registry_text.h.
//
// Common contract:
// - Every routine answers for its own call: what it did, and when it failed, the text of
//   registry_errors that says why. Nothing is kept between calls, so calls from different threads
//   or one after another never see each other's failures.
// - `root` must be one of the seven predefined roots ("ERROR, #HKEY is empty" otherwise) and
//   `subKey` must not be empty ("ERROR, subkeyname is empty"). One leading "\" of the sub key is
//   removed before use; a trailing "\" is harmless.
// - Access is to the local registry in the process's own view (no 32/64-bit view flag).
#include <cstdint>
#include <string>
#include <string_view>

#include "base/registry_text.h"

namespace averlune {

// The answer of a routine that acts or checks: `ok` when it did, else `failure` says why (one of
// registry_errors; empty where the routine names no reason).
struct RegistryResult {
  bool ok = false;
  std::u16string_view failure;
  explicit operator bool() const { return ok; }
};

// The answer of a routine that reads: the text when `ok`, else the empty text and why not.
struct RegistryText {
  bool ok = false;
  std::u16string text;
  std::u16string_view failure;
};

// The value in its text form (registryValueToText). An existing value whose text is empty is a
// success with the empty text.
RegistryText readRegistryValueText(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName);

// Ok when the key exists afterwards, created with its missing parents or already there.
RegistryResult createKey(RegistryRoot root, const std::u16string& subKey);

// Ok when the key can be opened for reading.
RegistryResult keyExists(RegistryRoot root, const std::u16string& subKey);

// Ok when the key can be opened for reading and holds the value (an empty name: the key's default
// value, when it is set).
RegistryResult valueExists(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName);

// "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY", "REG_DWORD" or "REG_MULTI_SZ" for an existing value of
// that type with at most 255 bytes of data; the empty text otherwise: a value of another type is a
// success, a missing value or longer data a failure. An empty value name names the key's default
// value.
RegistryText valueTypeName(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName);

// The writers never create keys. They need a non-empty value name, except writeStringValue, which
// writes the key's default value when the name is empty. Ok when the value was written.
// writeBinaryValue takes the text form of REG_BINARY ("0A FF "); text it refuses writes nothing.
RegistryResult writeBinaryValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                                const std::u16string& hexText);
RegistryResult writeDwordValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                               std::uint32_t number);
RegistryResult writeExpandStringValue(RegistryRoot root, const std::u16string& subKey,
                                      const std::u16string& valueName, const std::u16string& text);
RegistryResult writeStringValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                                const std::u16string& text);

// Deletes one value; fails without a reason when the key or the value is not there.
RegistryResult deleteValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName);

// Deletes a key with its values; fails (without a reason) on a key that still has subkeys.
RegistryResult deleteKey(RegistryRoot root, const std::u16string& subKey);

// Deletes the key only when it has neither subkeys nor values (a set default value counts); a key
// that holds anything fails without a reason.
RegistryResult deleteKeyIfEmpty(RegistryRoot root, const std::u16string& subKey);

// deleteKeyIfEmpty for the key and then each ancestor, longest first, down to its first component
// (pruneCandidates): only keys empty at that moment go. No answer: a key that stays simply stays.
void pruneEmptyKeys(RegistryRoot root, const std::u16string& subKey);

}  // namespace averlune
