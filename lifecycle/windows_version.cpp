#include "lifecycle/windows_version.h"

namespace averlune {
namespace {

constexpr const char16_t* kVersionNames[] = {
    u"Windows 2000", u"Windows XP", u"Windows Server 2003", u"Windows Vista",
    u"Windows Server 2008", u"Windows 7", u"Windows 8", u"Windows Server 2012",
};

}  // namespace

std::u16string windowsVersionName(unsigned major, unsigned minor, unsigned productType) {
  const bool workstation = productType == kWorkstationProductType;
  if (major == 5) {
    switch (minor) {
      case 0: return u"Windows 2000";
      case 1: return u"Windows XP";
      case 2: return workstation ? u"Windows XP" : u"Windows Server 2003";  // XP x64 is 5.2
      default: return {};
    }
  }
  if (major == 6) {
    switch (minor) {
      case 0: return workstation ? u"Windows Vista" : u"Windows Server 2008";
      case 1: return workstation ? u"Windows 7" : u"Windows Server 2008";  // 2008 R2 is 6.1
      case 2: return workstation ? u"Windows 8" : u"Windows Server 2012";
      default: return {};
    }
  }
  return {};
}

bool isWindowsVersionAccepted(const KeyValueFile& osFile, std::u16string_view versionName) {
  // Each known name is looked up once, in a fixed order; only the running version's own line counts.
  bool accepted = false;
  for (const char16_t* name : kVersionNames) {
    if (readInteger(osFile, name, 0) == 1 && versionName == name) accepted = true;
  }
  return accepted;
}

}  // namespace averlune
