#include "install/installation_plan.h"

#include <algorithm>
#include <set>

#include "config/line_list_file.h"
#include "config/placeholders.h"
#include "config/setup_placeholders.h"
#include "config/uninstall_log.h"
#include "base/path_text.h"
#include "install/earlier_log_records.h"

namespace averlune {
namespace {

std::u16string filePart(const std::u16string& name) {
  const std::size_t separator = name.find_last_of(u"\\/");
  return separator == std::u16string::npos ? name : name.substr(separator + 1);
}

struct Planner {
  Planner(const SetupState& runState, const InstallationTexts& texts, InstallationFacts runFacts)
      : state(runState), facts(std::move(runFacts)) {
    plan.texts = texts;
  }

  const SetupState& state;
  InstallationFacts facts;
  const SetupOptions& options = state.options;
  const bool logged = options.Uninstaller == 1;
  InstallationPlan plan;
  std::set<std::u16string> earlierFolders;

  std::u16string expand(const std::u16string& text) const {
    return expandPlaceholders(text, plan.appFolder, placeholderScriptValues(options), state.variables, facts.lookup);
  }

  // A folder that was there before the run is this application's only when an earlier
  // installation of it recorded the folder; otherwise the uninstaller must leave it.
  bool isSomeoneElses(const std::u16string& folder) const {
    return facts.folderExisted(folder) && !earlierFolders.count(folder);
  }

  // The earlier log speaks for this application only when its uninstall entry vouches for it, and
  // only for this folder: a vouched log copied here from the folder it was written in lists another
  // folder's files.
  void noteEarlierLog() {
    if (!facts.earlierLog || facts.storedLogDigest.empty() || facts.earlierLogDigest != facts.storedLogDigest) return;
    LineListFile log;
    openBytes(log, std::move(*facts.earlierLog));
    UninstallLogHeader header;
    UninstallRecord record;
    if (!readUninstallLogHeader(log, header) || !equalsIgnoringAsciiCase(header.appFolder, plan.appFolder)) return;
    while (readUninstallRecord(log, record)) {
      if (record.kind == UninstallRecordKind::folder) earlierFolders.insert(record.path);
      if (logged) plan.earlierRecords.push_back(std::move(record));
    }
  }

  void planUninstaller() {
    UninstallLogHeader header;
    header.appName = options.Appname;
    header.version = options.Version;
    if (options.Uninstaller_VW == 1) header.webSite = options.Website;
    header.appFolder = plan.appFolder;
    header.entryCount = static_cast<std::uint32_t>(facts.payload.declaredCount);
    plan.uninstaller = PlannedUninstaller{plan.appFolder + options.UninstallerFilename + u".exe", state.languageFile,
                                          plan.appFolder + kUninstallLanguageName,
                                          plan.appFolder + kUninstallLogName, uninstallLogHeaderBytes(header),
                                          uninstallEntryKey(options.Appname)};
  }

  // The log learns what each entry wrote, as the uninstaller is to delete it: a file by its path; a
  // folder the payload made by a folder record once extraction is over, so that the folder is
  // removed after the files in it.
  void planEntries() {
    for (PayloadEntryInfo& info : facts.payload.entries) {
      PlannedEntry entry;
      entry.folder = isPayloadFolderEntry(info);
      entry.path = payloadEntryPath(info, plan.appFolder);
      if (logged && !entry.path.empty()) {
        if (entry.folder) {
          if (!isSomeoneElses(entry.path)) entry.folderRecord = uninstallFolderRecord(entry.path);
        } else if (!facts.folderExisted(entry.path)) {  // a folder in the file's place is not this file
          entry.record = uninstallFileRecord(entry.path);
        }
      }
      entry.info = std::move(info);
      plan.entries.push_back(std::move(entry));
    }
  }

  void planRegistration() {
    plan.registration = uninstallRegistration(options.Appname, options.Version, options.Website1, options.Company,
                                              plan.appFolder + options.UninstallerFilename + u".exe", plan.appFolder,
                                              state.choices.startMenuFolderText);
    if (plan.registration) {
      plan.registrationRecord = uninstallKeyRecord(kUninstallRootName, plan.registration->subKey);
    }
  }

  std::vector<ShortcutLink> linksOf(const std::optional<std::string>& list, const std::u16string& folder) const {
    LineListFile file;
    openBytes(file, *list);
    return shortcutLinks(readShortcutList(file, [this](const std::u16string& line) { return expand(line); }), folder);
  }

  void planDesktopLinks() {
    if (!facts.desktopList) return;
    for (ShortcutLink& link : linksOf(facts.desktopList, options.desktopBase)) {
      std::string record = logged ? uninstallFileRecord(link.linkPath) : std::string();
      plan.desktopLinks.push_back({std::move(link), std::move(record)});
    }
  }

  // The uninstaller empties a recorded folder. A folder that was there before (a shared folder the
  // user typed) may hold other programs' links, so then only our own links are recorded, unless an
  // earlier installation of this application made it.
  void planStartMenuLinks() {
    if (!facts.startMenuList) return;
    const StartMenuPlan folder = startMenuPlan(options.startMenuBase, state.choices.startMenuFolderText);
    plan.startMenuFolder = folder.folder;
    for (ShortcutLink& link : linksOf(facts.startMenuList, folder.folder)) {
      plan.startMenuLinks.push_back({std::move(link), {}});
    }
    if (!logged) return;
    if (!folder.recordedFolder.empty() && !isSomeoneElses(folder.folder)) {
      plan.startMenuRecords = uninstallFolderRecord(folder.recordedFolder);
    } else {
      for (const PlannedLink& link : plan.startMenuLinks) plan.startMenuRecords += uninstallFileRecord(link.link.linkPath);
    }
  }

  void planRegistryValues() {
    if (!facts.registryList) return;
    LineListFile list;
    openBytes(list, *facts.registryList);
    for (RegistryListEntry& entry : readRegistryList(list, [this](const std::u16string& line) { return expand(line); })) {
      std::string record = entry.uninstallFlag != 0 && logged
                               ? uninstallValueRecord(entry.rootName, entry.subKey, entry.valueName)
                               : std::string();
      plan.registryValues.push_back({std::move(entry), std::move(record)});
    }
  }

  InstallationPlan make() {
    plan.appFolder = applicationFolder(state.choices);
    noteEarlierLog();
    if (logged) planUninstaller();
    plan.progressMaximum = static_cast<int>(facts.payload.declaredCount + 2);
    planEntries();
    // An entry only names an uninstaller the run writes: any other value than 1 writes none.
    if (logged) planRegistration();
    if (options.Desktopicon == 1 && state.choices.desktopIcon) planDesktopLinks();
    if (options.StartMenuFolder == 1 && state.choices.startMenuFolder) planStartMenuLinks();
    if (options.Registry == 1) planRegistryValues();
    return std::move(plan);
  }
};

}  // namespace

std::vector<std::pair<std::u16string, std::u16string>> installationEnvironment(const SetupState& state,
                                                                                 const std::u16string& userName) {
  return {{u"AV_INSTALLPATH", applicationFolder(state.choices)},
          {u"AV_LANGUAGE", state.choices.languageName},
          {u"AV_USERNAME", userName},
          {u"AV_ORGANISATION", u""}};
}

std::u16string extractionStatus(const InstallationPlan& plan, const PlannedEntry& entry) {
  return plan.texts.extracting + u"\n" + plan.appFolder + entry.info.name;
}

std::u16string extractionQuestion(const InstallationPlan& plan, const PlannedEntry& entry) {
  if (entry.info.name.empty()) return {};
  return plan.texts.couldNotExtract + u"\n" + filePart(entry.info.name);
}

InstallationPlan planInstallation(const SetupState& state, const InstallationTexts& texts, InstallationFacts facts) {
  return Planner(state, texts, std::move(facts)).make();
}

std::string logRecordsAfter(const InstallationPlan& plan, std::size_t entriesDone) {
  const std::size_t done = std::min(entriesDone, plan.entries.size());
  std::string records;
  for (std::size_t index = 0; index < done; ++index) records += plan.entries[index].record;
  // The file records are in the log already; withEarlierRecords places nothing before a folder
  // record or after the last file record, so they stay its start.
  const std::size_t appended = records.size();
  for (std::size_t index = 0; index < done; ++index) records += plan.entries[index].folderRecord;
  if (done == plan.entries.size()) {
    records += plan.registrationRecord;
    for (const PlannedLink& link : plan.desktopLinks) records += link.record;
    records += plan.startMenuRecords;
    for (const PlannedValue& value : plan.registryValues) records += value.record;
  }
  return withEarlierRecords(records, plan.earlierRecords).substr(appended);
}

}  // namespace averlune
