#include "install/uninstall_registration.h"

namespace averlune {

std::optional<UninstallRegistration> uninstallRegistration(const std::u16string& appName, const std::u16string& version,
                                                           const std::u16string& website1,
                                                           const std::u16string& company,
                                                           const std::u16string& uninstallerPath) {
  if (appName.find_first_not_of(u'\\') == std::u16string::npos) return std::nullopt;
  UninstallRegistration registration;
  registration.subKey = kUninstallKeyBase + appName;
  registration.values = {
      {u"DisplayName", appName},
      {u"DisplayVersion", version},
      {u"HelpLink", website1},
      {u"Publisher", company},
      {u"UninstallString", u"\"" + uninstallerPath + u"\""},
      {u"DisplayIcon", uninstallerPath},
  };
  return registration;
}

}  // namespace averlune
