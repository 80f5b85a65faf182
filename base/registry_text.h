#pragma once
// The registry library's portable half: roots, value types, and the conversions between registry
// data and the text forms that configuration files and author variables use. No system call here;
// the routines that touch the registry are in registry_win.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace averlune {

// Why a registry routine failed: the texts exactly as stored files and callers know them ("dont",
// "to long" and U+00B4 in "can´t" included). Each call answers with its own; callers never show
// them to the user.
namespace registry_errors {
constexpr char16_t rootNotValid[] = u"ERROR, #HKEY is empty";
constexpr char16_t subKeyEmpty[] = u"ERROR, subkeyname is empty";
constexpr char16_t valueNameEmpty[] = u"ERROR, valuename is empty";
constexpr char16_t subKeyMissing[] = u"ERROR, sub key dont exist";
constexpr char16_t subKeyNotFound[] = u"ERROR, sub key not found";
constexpr char16_t createFailed[] = u"ERROR, false type";
constexpr char16_t readingKey[] = u"ERROR, reading key";
constexpr char16_t notSpecified[] = u"ERROR, not specified message";
constexpr char16_t sizeBelowOne[] = u"ERROR, allocated memorysize <1";
constexpr char16_t noMemory[] = u"ERROR, can\u00B4t allocate memory";
constexpr char16_t noSpace[] = u"ERROR, no space";
constexpr char16_t cannotWrite[] = u"ERROR, can\u00B4t write value";
constexpr char16_t hexLength[] = u"ERROR, string to long or empty";
constexpr char16_t hexDigit[] = u"ERROR, false sign into the string";
}  // namespace registry_errors

// The predefined roots the library accepts. `none` stands for anything else and is refused by
// every routine with the "#HKEY is empty" failure.
enum class RegistryRoot : std::uint8_t {
  none,
  classesRoot,
  currentUser,
  localMachine,
  users,
  performanceData,
  currentConfig,
  dynData,
};

bool isRegistryRoot(RegistryRoot root);

// Maps a root name from a configuration file, compared exactly (case included).
// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS" and
// "HKEY_CURRENT_CONFIG" name their roots; any other text gives `fallback`. Variables.dat falls back
// to HKEY_CLASSES_ROOT, Registry.dat and the uninstall log to HKEY_CURRENT_USER.
RegistryRoot registryRootFromName(const std::u16string& name, RegistryRoot fallback);

// Registry value types by their system numbers.
constexpr std::uint32_t regSz = 1;
constexpr std::uint32_t regExpandSz = 2;
constexpr std::uint32_t regBinary = 3;
constexpr std::uint32_t regDword = 4;
constexpr std::uint32_t regMultiSz = 7;

// "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY", "REG_DWORD", "REG_MULTI_SZ"; empty for other types.
std::u16string registryTypeName(std::uint32_t type);

// The sub key with one leading "\" removed, as every routine uses it.
std::u16string withoutLeadingBackslash(const std::u16string& subKey);

// The keys pruneEmptyKeys tries, longest first: the sub key (with one leading "\" removed and a
// trailing "\" added when missing), then each shorter prefix ending in "\", down to the first
// component. "Software\Acme\Tool" gives "Software\Acme\Tool\", "Software\Acme\", "Software\".
std::vector<std::u16string> pruneCandidates(const std::u16string& subKey);

// REG_BINARY text form: every byte as two upper-case hexadecimal digits and one space, the last
// byte included ({0x0A, 0xFF} gives "0A FF "). Zero bytes give the empty text.
std::u16string hexTextFromBytes(const std::uint8_t* data, std::size_t size);

// A signed 64-bit number from text: leading spaces and tabs skipped, optional "-" or "+", then
// "$" for hexadecimal digits, "%" for binary digits, or decimal digits, up to the first other
// character. No digits give 0; digits beyond 64 bits wrap around.
std::int64_t parseNumber(const std::u16string& text);

// The bytes of a REG_BINARY value from its text form: groups of two hexadecimal digits, each
// followed by a space (see writeBinaryValue). On failure `ok` is false, `bytes` is empty and
// `failure` says why; a group that is not hexadecimal refuses the whole value.
struct BinaryValueBytes {
  bool ok = false;
  std::vector<std::uint8_t> bytes;
  std::u16string_view failure;  // one of registry_errors; empty on success
};
BinaryValueBytes binaryValueFromHexText(const std::u16string& text);

// The text form of registry data of the given type, as readRegistryValueText gives it:
// REG_SZ/REG_EXPAND_SZ the text up to its first zero character (references not expanded);
// REG_MULTI_SZ each string followed by CR LF; REG_DWORD the signed decimal number; REG_BINARY the
// hexadecimal form above. `ok` is false for any other type. Data cut short is read as far as it
// goes (a missing terminator or an odd last byte is tolerated).
struct RegistryValueText {
  bool ok = false;
  std::u16string text;
};
RegistryValueText registryValueToText(std::uint32_t type, const std::uint8_t* data, std::size_t size);

}  // namespace averlune
