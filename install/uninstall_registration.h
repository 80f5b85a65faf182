#pragma once
// The uninstall entry in the Windows list of installed programs:
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\<Appname> with nine
// REG_SZ values and EstimatedSize. The plan is computed here; uninstall_registration_win.h
// writes it. The next run of a setup of the same application reads it back
// (earlier_installation.h): the entry's name is the application's identity.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/uninstall_log.h"

namespace averlune {

// The values a later run reads back to find this installation.
constexpr char16_t kUninstallStringValueName[] = u"UninstallString";
constexpr char16_t kInstallLocationValueName[] = u"InstallLocation";
constexpr char16_t kShortcutFolderValueName[] = u"ShortcutFolder";

struct RegistryStringValue {
  std::u16string name;
  std::u16string data;
};

struct UninstallRegistration {
  std::u16string subKey;  // below HKEY_LOCAL_MACHINE, no "\" at the end
  std::vector<RegistryStringValue> values;  // in the order they are written
  std::uint32_t estimatedSize = 0;          // EstimatedSize (REG_DWORD, written last): kilobytes installed
};

// The entry's key below HKEY_LOCAL_MACHINE for `appName`, or the empty text when the name is empty
// or only backslashes: the key would then be the Uninstall key itself, which holds every program's
// entry.
std::u16string uninstallEntryKey(const std::u16string& appName);

// The entry for `appName`, or nothing when the name is empty or only backslashes: the key would
// then be the Uninstall key itself, and the uninstaller removes the key it is given.
// UninstallString holds the path in double quotes, so that a path with spaces cannot start
// another program (C:\Program.exe); QuietUninstallString, for deployment tools, is the same
// followed by " /S"; DisplayIcon holds the path as it is. InstallLocation is the application
// folder (`appFolder`, ending in "\") and ShortcutFolder the start menu folder field as chosen
// (relative to the start menu base), so that the next run starts from both. DisplayVersion is
// `version`: a run over an earlier installation replaces every value. The estimated size is left
// 0 for the run to fill in once it knows what it extracted.
std::optional<UninstallRegistration> uninstallRegistration(const std::u16string& appName, const std::u16string& version,
                                                           const std::u16string& website1,
                                                           const std::u16string& company,
                                                           const std::u16string& uninstallerPath,
                                                           const std::u16string& appFolder,
                                                           const std::u16string& startMenuFolder);

// EstimatedSize for `installedBytes`: rounded up to whole kilobytes (at most 4 TiB can be told).
std::uint32_t estimatedSizeOf(std::uint64_t installedBytes);

}  // namespace averlune
