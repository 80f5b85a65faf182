#include "install/earlier_installation_win.h"

#include "base/registry_win.h"
#include "install/uninstall_registration.h"

namespace averlune {
namespace {

std::optional<std::u16string> entryValue(const std::u16string& key, const char16_t* name) {
  RegistryText value = readRegistryValueText(RegistryRoot::localMachine, key, name);
  if (!value.ok) return std::nullopt;
  return std::move(value.text);
}

}  // namespace

EarlierEntry readEarlierEntry(const std::u16string& appName) {
  EarlierEntry entry;
  const std::u16string key = uninstallEntryKey(appName);
  if (key.empty()) return entry;
  entry.installLocation = entryValue(key, kInstallLocationValueName);
  entry.uninstallString = entryValue(key, kUninstallStringValueName);
  entry.shortcutFolder = entryValue(key, kShortcutFolderValueName);
  return entry;
}

}  // namespace averlune
