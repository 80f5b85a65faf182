#pragma once
// The registry library's last-error text: one text for the whole process. Every library routine
// clears it when it starts and sets one of the texts below when it fails; lastError hands it out
// and clears it. Callers never show it to the user.
#include <string>

namespace averlune {

// The texts exactly as stored files and callers know them ("dont", "to long" and U+00B4 in
// "can´t" included).
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

// `text` is one of the texts above: only its address is kept.
void setRegistryLastError(const char16_t* text);
void clearRegistryLastError();

// The last-error text, which is then cleared: a second call in a row gives the empty text.
std::u16string lastError();

}  // namespace averlune
