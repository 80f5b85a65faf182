#include "uninstaller/log_digest_win.h"

#include <windows.h>

#include "base/owned_handle_win.h"
#include "base/registry_win.h"
#include "config/uninstall_log.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

std::u16string entryKey(const std::u16string& entryName) { return kUninstallKeyBase + entryName; }

// A REG_SZ value of an open key: nothing when it is missing, the empty text when it is there but is
// no text, cannot be read, or is longer than `maxLength` characters.
std::optional<std::u16string> readText(HKEY key, const std::u16string& valueName, DWORD maxLength) {
  std::u16string text(maxLength + 1, u'\0');
  DWORD type = REG_NONE;
  DWORD size = maxLength * sizeof(wchar_t);
  const LONG result = RegQueryValueExW(key, wide(valueName), nullptr, &type,
                                       reinterpret_cast<BYTE*>(text.data()), &size);
  if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (result != ERROR_SUCCESS || type != REG_SZ) return std::u16string();
  text.resize(size / sizeof(wchar_t));
  while (!text.empty() && text.back() == u'\0') text.pop_back();
  return text;
}

}  // namespace

std::vector<UninstallEntryText> uninstallEntries() {
  std::u16string base = kUninstallKeyBase;
  base.pop_back();  // without its closing "\"
  std::vector<UninstallEntryText> entries;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(base), 0, KEY_ENUMERATE_SUB_KEYS, &opened) != ERROR_SUCCESS) {
    return entries;
  }
  const OwnedKey list(opened);
  for (DWORD index = 0;; ++index) {
    wchar_t name[256] = {};  // the longest key name the registry allows, and its zero
    DWORD length = 256;
    const LONG result = RegEnumKeyExW(list.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) continue;
    UninstallEntryText entry;
    entry.name = fromWide(name, length);
    HKEY child = nullptr;
    if (RegOpenKeyExW(list.get(), name, 0, KEY_QUERY_VALUE, &child) == ERROR_SUCCESS) {
      const OwnedKey key(child);
      entry.uninstallString = readText(key.get(), u"UninstallString", 32767).value_or(u"");
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<std::u16string> storedDigest(const std::u16string& entryName, const std::u16string& valueName) {
  HKEY opened = nullptr;
  const LONG openResult = RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(entryKey(entryName)), 0, KEY_QUERY_VALUE, &opened);
  if (openResult == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (openResult != ERROR_SUCCESS) return std::u16string();  // there, but not to be read: no trust
  const OwnedKey key(opened);
  return readText(key.get(), valueName, 79);  // 64 digits; anything much longer is no digest of ours
}

void forgetDigests(const std::u16string& entryName) {
  if (entryName.empty()) return;  // that would be the list of installed programs itself
  deleteValue(RegistryRoot::localMachine, entryKey(entryName), kLogDigestValueName);
  deleteValue(RegistryRoot::localMachine, entryKey(entryName), kLanguageDigestValueName);
  deleteKeyIfEmpty(RegistryRoot::localMachine, entryKey(entryName));
}

}  // namespace averlune
