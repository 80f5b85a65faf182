#include "install/uninstall_registration.h"

#include <algorithm>

namespace averlune {

std::u16string uninstallEntryKey(const std::u16string& appName) {
  if (appName.find_first_not_of(u'\\') == std::u16string::npos) return {};
  return kUninstallKeyBase + appName;
}

std::optional<UninstallRegistration> uninstallRegistration(const std::u16string& appName, const std::u16string& version,
                                                           const std::u16string& website1,
                                                           const std::u16string& company,
                                                           const std::u16string& uninstallerPath,
                                                           const std::u16string& appFolder,
                                                           const std::u16string& startMenuFolder) {
  UninstallRegistration registration;
  registration.subKey = uninstallEntryKey(appName);
  if (registration.subKey.empty()) return std::nullopt;
  const std::u16string quotedPath = u"\"" + uninstallerPath + u"\"";
  registration.values = {
      {u"DisplayName", appName},
      {u"DisplayVersion", version},
      {u"HelpLink", website1},
      {u"Publisher", company},
      {kUninstallStringValueName, quotedPath},
      {u"QuietUninstallString", quotedPath + u" /S"},
      {u"DisplayIcon", uninstallerPath},
      {kInstallLocationValueName, appFolder},
      {kShortcutFolderValueName, startMenuFolder},
  };
  return registration;
}

std::uint32_t estimatedSizeOf(std::uint64_t installedBytes) {
  const std::uint64_t kilobytes = installedBytes / 1024 + (installedBytes % 1024 != 0 ? 1 : 0);
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(kilobytes, UINT32_MAX));
}

}  // namespace averlune
