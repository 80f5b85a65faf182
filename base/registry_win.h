#pragma once
// The registry library: the setup's and the uninstaller's registry routines. Windows build only
// (registry_win.cpp). Text forms and number parsing are in registry_text.h.
//
// Common contract:
// - Every routine clears the process-wide last-error text when it starts and sets one of the texts
//   of registry_error.h when it fails; lastError() fetches and clears it.
// - `root` must be one of the seven predefined roots ("ERROR, #HKEY is empty" otherwise) and
//   `subKey` must not be empty ("ERROR, subkeyname is empty"). One leading "\" of the sub key is
//   removed before use; a trailing "\" is harmless.
// - Access is to the local registry in the process's own view (no 32/64-bit view flag).
#include <cstdint>
#include <string>

#include "base/registry_text.h"

namespace averlune {

// The value in its text form (registryValueToText); on failure the empty text with the last-error
// text set. An existing value whose text is empty is a success with an empty last-error text.
std::u16string readRegistryValueText(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName);

// True when the key exists afterwards, created with its missing parents or already there.
bool createKey(RegistryRoot root, const std::u16string& subKey);

// True when the key can be opened for reading.
bool keyExists(RegistryRoot root, const std::u16string& subKey);

// True when the key can be opened for reading and holds the value (an empty name: the key's
// default value, when it is set).
bool valueExists(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName);

// "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY", "REG_DWORD" or "REG_MULTI_SZ" for an existing value of
// that type with at most 255 bytes of data; the empty text otherwise (missing value, other type,
// longer data). An empty value name names the key's default value.
std::u16string valueTypeName(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName);

// The writers never create keys. They need a non-empty value name, except writeStringValue, which
// writes the key's default value when the name is empty. True when the value was written.
// writeBinaryValue takes the text form of REG_BINARY ("0A FF "); text it refuses writes nothing.
bool writeBinaryValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                      const std::u16string& hexText);
bool writeDwordValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                     std::uint32_t number);
bool writeExpandStringValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                            const std::u16string& text);
bool writeStringValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                      const std::u16string& text);

// Deletes one value; false (no last-error text) when the key or the value is not there.
bool deleteValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName);

// Deletes a key with its values; fails on a key that still has subkeys.
bool deleteKey(RegistryRoot root, const std::u16string& subKey);

// Deletes the key only when it has neither subkeys nor values (a set default value counts).
bool deleteKeyIfEmpty(RegistryRoot root, const std::u16string& subKey);

// deleteKeyIfEmpty for the key and then each ancestor, longest first, down to its first component
// (pruneCandidates): only keys empty at that moment go.
void pruneEmptyKeys(RegistryRoot root, const std::u16string& subKey);

}  // namespace averlune
