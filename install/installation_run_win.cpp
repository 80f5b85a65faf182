#include "install/installation_run_win.h"

#include <windows.h>

#include <map>
#include <memory>

#include "base/file_bytes.h"
#include "config/fixed_texts.h"
#include "base/folder_path_win.h"
#include "base/registry_win.h"
#include "base/resource_bytes_win.h"
#include "guards/sha256_win.h"
#include "base/system_lookup_win.h"
#include "config/uninstall_log.h"
#include "base/wide_text_win.h"
#include "install/installation_apply_win.h"
#include "config/packed_bytes.h"
#include "install/payload_file_system_win.h"
#include "install/uninstall_registration.h"
#include "config/uninstaller_image.h"

namespace averlune {
namespace {

std::u16string userName() {
  wchar_t name[257];
  DWORD length = 257;
  if (!GetUserNameW(name, &length) || length == 0) return {};
  return fromWide(name, length - 1);  // the count includes the terminating zero
}

std::optional<std::string> fileBytes(const std::u16string& path) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return std::nullopt;
  return bytes;
}

void noteEarlierLog(const SetupState& state, InstallationFacts& facts) {
  const std::u16string key = uninstallEntryKey(state.options.Appname);
  if (!key.empty()) {
    facts.storedLogDigest = readRegistryValueText(RegistryRoot::localMachine, key, kLogDigestValueName).text;
  }
  if (facts.storedLogDigest.empty()) return;
  facts.earlierLog = fileBytes(applicationFolder(state.choices) + kUninstallLogName);
  if (facts.earlierLog) facts.earlierLogDigest = sha256Hex(*facts.earlierLog);
}

// Whether a folder stood at a path before the run, asked of the disk once per folder: below a
// folder that was not there, nothing was. A fresh installation then asks once per folder of the
// payload instead of once per file, and under Wine each question about a missing name costs a scan
// of the folder it would be in.
class FoldersBefore {
 public:
  bool operator()(const std::u16string& path) { return existed(path.back() == u'\\' ? path : path + u'\\'); }

 private:
  std::map<std::u16string, bool> known_;  // by path ending in "\"

  bool existed(const std::u16string& folder) {
    if (const auto found = known_.find(folder); found != known_.end()) return found->second;
    const std::size_t parentEnd = folder.find_last_of(u'\\', folder.size() - 2);
    const bool parentExisted = parentEnd == std::u16string::npos || existed(folder.substr(0, parentEnd + 1));
    const bool there = parentExisted && folderExists(folder);
    known_.emplace(folder, there);
    return there;
  }
};

// Asked once the application folder is made and before anything is written into it.
InstallationFacts gatherFacts(const SetupState& state, PayloadArchiveReader& reader) {
  InstallationFacts facts;
  facts.payload = listPayloadEntries(reader);
  facts.folderExisted = [before = std::make_shared<FoldersBefore>()](const std::u16string& path) {
    return !path.empty() && (*before)(path);
  };
  if (state.options.Uninstaller == 1) noteEarlierLog(state, facts);
  facts.desktopList = fileBytes(state.workFolder + u"Desktop.dat");
  facts.startMenuList = fileBytes(state.workFolder + u"Startmenu.dat");
  facts.registryList = fileBytes(state.workFolder + u"Registry.dat");
  facts.lookup = windowsSystemLookup();
  return facts;
}

}  // namespace

std::string uninstallerImage(const std::u16string& workFolder) {
  std::string image;
  if (!workFolder.empty() && readFileBytes(workFolder + kCabinetUninstallerName16, image) && !image.empty()) return image;
  unpackBytes(resourceBytes(nullptr, IDR_UNINSTALLER_IMAGE), image);
  return image;
}

InstallationTexts installationTexts(const LanguageTexts& texts) {
  return {texts.Installing.Text2, texts.Installing.Text3, texts.Messages.CouldNotExtractFileH,
          texts.Messages.CouldNotExtractFile};
}

void runInstallation(const SetupState& state, const InstallationTexts& texts, const InstallationReports& reports,
                     InstallationTarget& target) {
  for (const auto& [name, value] : installationEnvironment(state, userName())) {
    noteLine(reports, u"environment: " + name + u"=" + value);
    SetEnvironmentVariableW(wide(name), wide(value));
  }
  PayloadArchiveReader reader(windowsPayloadFileSystem(target.folders, target.payloadFile, &target.atRestart));
  if (!openPayloadArchive(reader, state.ownFile)) {
    reports.showError(texts.couldNotExtractTitle, texts.couldNotExtract);
    reports.endRun(true);
    return;
  }
  const std::u16string appFolder = applicationFolder(state.choices);
  noteLine(reports, u"folder: " + appFolder);
  if (!holdApplicationFolder(target.folders, appFolder)) {
    reports.showError(kErrorTitle, kSetupErrorText);
    reports.endRun(true);
    return;
  }
  applyInstallationPlan(planInstallation(state, texts, gatherFacts(state, reader)), reader, reports, target);
}

}  // namespace averlune
