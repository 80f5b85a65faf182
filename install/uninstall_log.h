#pragma once
// The uninstall log, uninstall.dat: the contract between the setup and the uninstaller. Texts are
// UTF-8 without byte-order mark, each followed by CR LF; numbers are 4 bytes little-endian.
//
//   07 00 00 00, Appname, Version, web site (or empty), application folder ("\" at the end),
//   entry count of the payload archive (4 bytes), then records until the end of the file:
//   "#DF" path | "#DD" folder\ | "#DRK" root, sub key | "#DRV" root, sub key\, value name
//
// Everything here builds bytes; writing them is the caller's (one write per record, so a run
// that ends half-way leaves a log that is complete up to its last record).
#include <cstdint>
#include <string>

#include "config/setup_script.h"

namespace averlune {

constexpr std::uint32_t kUninstallLogFormat = 7;
constexpr char16_t kUninstallLogName[] = u"uninstall.dat";
constexpr char16_t kUninstallLanguageName[] = u"uninstall_l.avl";

struct UninstallLogHeader {
  std::u16string appName;
  std::u16string version;
  std::u16string webSite;    // Website when Uninstaller_VW is 1, otherwise empty
  std::u16string appFolder;  // ends in "\"
  std::uint32_t entryCount = 0;
};

UninstallLogHeader uninstallLogHeader(const SetupOptions& options, const std::u16string& appFolder,
                                      std::uint32_t entryCount);

std::string uninstallLogHeaderBytes(const UninstallLogHeader& header);
std::string uninstallFileRecord(const std::u16string& path);
std::string uninstallFolderRecord(const std::u16string& folder);
std::string uninstallKeyRecord(const std::u16string& rootName, const std::u16string& subKey);
std::string uninstallValueRecord(const std::u16string& rootName, const std::u16string& subKey,
                                 const std::u16string& valueName);

}  // namespace averlune
