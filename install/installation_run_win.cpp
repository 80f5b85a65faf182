#include "install/installation_run_win.h"

#include <windows.h>

#include <memory>

#include "config/file_bytes.h"
#include "config/folder_path_win.h"
#include "config/protected_file_win.h"
#include "config/registry_win.h"
#include "config/resource_bytes_win.h"
#include "config/sha256_win.h"
#include "config/system_lookup_win.h"
#include "config/uninstall_log.h"
#include "config/wide_text_win.h"
#include "install/held_folders_win.h"
#include "install/packed_bytes.h"
#include "install/payload_file_system_win.h"
#include "install/registry_list_win.h"
#include "install/shortcut_link_win.h"
#include "install/uninstall_log_file_win.h"
#include "install/uninstall_registration_win.h"
#include "install/uninstaller_image_id.h"

namespace averlune {
namespace {

std::u16string userName() {
  wchar_t name[257];
  DWORD length = 257;
  if (!GetUserNameW(name, &length) || length == 0) return {};
  return fromWide(name, length - 1);  // the count includes the terminating zero
}

}  // namespace

std::string embeddedUninstallerImage() {
  std::string image;
  unpackBytes(resourceBytes(nullptr, IDR_UNINSTALLER_IMAGE), image);
  return image;
}

InstallationTexts installationTexts(const LanguageTexts& texts) {
  return {texts.Installing.Text2, texts.Installing.Text3, texts.Messages.CouldNotExtractFileH,
          texts.Messages.CouldNotExtractFile};
}

InstallationSystem windowsInstallationSystem() {
  auto log = std::make_shared<UninstallLogFile>();
  auto folders = std::make_shared<HeldFolders>();
  InstallationSystem system;
  system.setEnvironmentVariable = [](const std::u16string& name, const std::u16string& value) {
    SetEnvironmentVariableW(wide(name), wide(value));
  };
  system.userName = userName;
  system.makeFolderPath = [](const std::u16string& folder) { return makeFolderPath(folder); };
  system.folderExists = [](const std::u16string& path) { return folderExists(path); };
  system.makeApplicationFolder = [folders](const std::u16string& folder) {
    return holdApplicationFolder(*folders, folder);
  };
  // The uninstaller's three files are written only into the held application folder, protected
  // and whole: the registration must never point at a cut program. Failures are silent.
  system.writeUninstallerImage = [folders](const std::u16string& path) {
    const std::string image = embeddedUninstallerImage();
    if (!image.empty() && isInHeldFolder(*folders, path)) writeProtectedFile(path, image);
  };
  system.copyFile = [folders](const std::u16string& from, const std::u16string& to) {
    std::string bytes;
    if (isInHeldFolder(*folders, to) && readFileBytes(from, bytes)) writeProtectedFile(to, bytes);
  };
  system.createLog = [log, folders](const std::u16string& path, const std::string& header,
                                    const std::u16string& digestKey) {
    return isInHeldFolder(*folders, path) && createUninstallLog(*log, path, header, digestKey);
  };
  system.appendLog = [log](const std::string& record) { appendUninstallLog(*log, record); };
  system.closeLog = [log] { closeUninstallLog(*log); };
  system.logDigest = sha256Hex;
  system.storedLogDigest = [](const std::u16string& digestKey) {
    return readRegistryValueText(RegistryRoot::localMachine, digestKey, kLogDigestValueName);
  };
  system.registerUninstaller = [](const UninstallRegistration& registration) { registerUninstaller(registration); };
  system.createShortcut = [](const ShortcutLink& link) {
    createShortcut(link.target, link.linkPath, link.workingFolder, link.arguments, u"", u"", 0);
  };
  system.writeRegistryEntry = [](const RegistryListEntry& entry) { writeRegistryEntry(entry); };
  system.lookup = windowsSystemLookup();
  system.fileSystem = windowsPayloadFileSystem(folders);
  return system;
}

}  // namespace averlune
