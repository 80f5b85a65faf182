#include "uninstaller/log_digest_win.h"

#include <windows.h>

#include "config/owned_handle_win.h"
#include "config/registry_win.h"
#include "config/uninstall_log.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

std::u16string entryKey(const std::u16string& appName) { return kUninstallKeyBase + appName; }

}  // namespace

std::optional<std::u16string> storedLogDigest(const std::u16string& appName) {
  HKEY opened = nullptr;
  const LONG openResult = RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(entryKey(appName)), 0, KEY_QUERY_VALUE, &opened);
  if (openResult == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (openResult != ERROR_SUCCESS) return std::u16string();  // there, but not to be read: no trust
  const OwnedKey key(opened);
  // 64 digits and the terminating zero; anything longer is no digest of ours.
  wchar_t text[80] = {};
  DWORD type = REG_NONE;
  DWORD size = sizeof text - sizeof(wchar_t);
  const LONG queryResult = RegQueryValueExW(key.get(), wide(kLogDigestValueName), nullptr, &type,
                                            reinterpret_cast<BYTE*>(text), &size);
  if (queryResult == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (queryResult != ERROR_SUCCESS || type != REG_SZ) return std::u16string();
  std::u16string digest = fromWide(text, size / sizeof(wchar_t));
  while (!digest.empty() && digest.back() == u'\0') digest.pop_back();
  return digest;
}

void forgetLogDigest(const std::u16string& appName) {
  if (appName.empty()) return;  // that would be the list of installed programs itself
  deleteValue(RegistryRoot::localMachine, entryKey(appName), kLogDigestValueName);
  deleteKeyIfEmpty(RegistryRoot::localMachine, entryKey(appName));
}

}  // namespace averlune
