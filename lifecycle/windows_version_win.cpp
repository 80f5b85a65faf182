#include "lifecycle/windows_version_win.h"

#include <windows.h>

#include "config/key_value_file.h"
#include "lifecycle/windows_version.h"

namespace averlune {
namespace {

std::u16string runningVersionName() {
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof version;
  // The manifest lists no supported versions on purpose: newer Windows then report 6.2, which
  // setups made for Windows 8 accept.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) return {};
#pragma GCC diagnostic pop
  return windowsVersionName(version.dwMajorVersion, version.dwMinorVersion, version.wProductType);
}

}  // namespace

bool checkWindowsVersion(const std::u16string& workFolder) {
  KeyValueFile osFile;
  if (!open(osFile, workFolder + u"OS.dat")) return false;
  const bool accepted = isWindowsVersionAccepted(osFile, runningVersionName());
  close(osFile);
  return accepted;
}

}  // namespace averlune
