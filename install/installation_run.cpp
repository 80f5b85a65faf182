#include "install/installation_run.h"

#include <set>

#include "config/contained_path.h"
#include "config/fixed_texts.h"
#include "config/line_list_file.h"
#include "config/path_text.h"
#include "config/placeholders.h"
#include "config/setup_placeholders.h"
#include "config/uninstall_log.h"

namespace averlune {
namespace {

// The uninstall log while the run holds it: records go nowhere when it was never created.
struct OpenLog {
  const InstallationSystem& system;
  bool open = false;
  void append(const std::string& record) const {
    if (open) system.appendLog(record);
  }
};

std::u16string filePart(const std::u16string& name) {
  const std::size_t separator = name.find_last_of(u"\\/");
  return separator == std::u16string::npos ? name : name.substr(separator + 1);
}

struct Run {
  Run(SetupState& runState, const InstallationTexts& runTexts, const InstallationSystem& runSystem)
      : state(runState), texts(runTexts), system(runSystem) {}

  SetupState& state;
  const InstallationTexts& texts;
  const InstallationSystem& system;
  const SetupOptions& options = state.options;
  const UserChoices& choices = state.choices;
  std::u16string appFolder;
  OpenLog log{system};
  std::int32_t position = 0;
  // Folders that an earlier installation into this folder recorded in its log: this
  // application's, although they are there before the run.
  std::set<std::u16string> earlierFolders;
  // Folders of the archive's entries that were there before the run and are not this
  // application's: the uninstaller must not remove them.
  std::set<std::u16string> foldersBefore;
  std::uint64_t installedBytes = 0;  // of the entries extracted whole

  std::u16string expand(const std::u16string& text) const {
    return expandPlaceholders(text, appFolder, placeholderScriptValues(options), state.variables, system.lookup);
  }

  void publishEnvironment() const {
    system.setEnvironmentVariable(u"AV_INSTALLPATH", appFolder);
    system.setEnvironmentVariable(u"AV_LANGUAGE", choices.languageName);
    system.setEnvironmentVariable(u"AV_USERNAME", system.userName());
    system.setEnvironmentVariable(u"AV_ORGANISATION", u"");
  }

  void writeUninstaller(std::uint32_t entryCount) {
    system.writeUninstallerImage(appFolder + options.UninstallerFilename + u".exe");
    system.copyFile(state.languageFile, appFolder + kUninstallLanguageName);
    UninstallLogHeader header;
    header.appName = options.Appname;
    header.version = options.Version;
    if (options.Uninstaller_VW == 1) header.webSite = options.Website;
    header.appFolder = appFolder;
    header.entryCount = entryCount;
    log.open = system.createLog(appFolder + kUninstallLogName, uninstallLogHeaderBytes(header),
                                uninstallEntryKey(options.Appname));
  }

  // The log is closed (and its digest kept) before the run ends: the uninstaller must be able to
  // remove what an aborted run left.
  void closeLog() {
    if (!log.open) return;
    system.closeLog();
    log.open = false;
  }

  void endRun() {
    closeLog();
    system.endRun(true);
  }

  // Step 7 for the current entry. False when the user chose Abort (the run has been ended).
  bool installEntry(PayloadArchiveReader& reader) {
    PayloadEntryInfo info;
    for (;;) {
      readEntryInfo(reader, info);
      system.setStatus(extractionStatusText(texts, appFolder, info.name));
      if (extractPayloadEntry(reader, appFolder, true) == kPayloadOk) {
        installedBytes += info.uncompressedSize;
        break;
      }
      if (info.name.empty()) break;
      const ExtractionChoice choice =
          system.askAfterFailedExtraction(texts.couldNotExtractTitle, extractionFailureText(texts, info.name));
      if (choice == ExtractionChoice::retry) continue;
      if (choice == ExtractionChoice::abort) {
        endRun();
        return false;
      }
      break;
    }
    recordEntry(info);
    system.setProgress(++position);
    return true;
  }

  // The path an entry is written to, or the empty text for an entry that writes nothing: no
  // name, a name cut for its length (the file it names is not the one the archive names), or a
  // name the reader refuses to place inside the application folder.
  std::u16string entryPath(const PayloadEntryInfo& info) const {
    if (info.name.empty() || info.nameLength > kPayloadMaxNameBytes) return {};
    const std::u16string relative = payloadRelativeName(info.name, true);
    if (!isContainedRelativePath(relative)) return {};
    return appFolder + relative;
  }

  // An earlier log speaks for this application only when it is the one an earlier setup closed:
  // its digest is the one in this application's uninstall entry, which only administrators can
  // write. A log planted in the folder must not make the run claim (and the uninstaller later
  // empty) folders that someone else made.
  bool isEarlierLogOurs(const LineListFile& earlierLog) const {
    const std::u16string key = uninstallEntryKey(options.Appname);
    if (key.empty()) return false;
    const std::u16string stored = system.storedLogDigest(key);
    return !stored.empty() && system.logDigest(earlierLog.bytes) == stored;
  }

  // Before the log of this run replaces the earlier one.
  void noteFoldersBefore(PayloadArchiveReader& reader) {
    LineListFile earlierLog;
    UninstallLogHeader header;
    UninstallRecord record;
    if (open(earlierLog, appFolder + kUninstallLogName) && isEarlierLogOurs(earlierLog) &&
        readUninstallLogHeader(earlierLog, header)) {
      while (readUninstallRecord(earlierLog, record)) {
        if (record.kind == UninstallRecordKind::folder) earlierFolders.insert(record.path);
      }
    }
    PayloadEntryInfo info;
    for (int step = firstPayloadEntry(reader); step == kPayloadOk; step = nextPayloadEntry(reader)) {
      readEntryInfo(reader, info);
      const std::u16string path = entryPath(info);
      if (!path.empty() && system.folderExists(path) && !earlierFolders.count(path)) foldersBefore.insert(path);
    }
  }

  // The log learns what the entry wrote: the uninstaller deletes what the log names.
  void recordEntry(const PayloadEntryInfo& info) {
    if (options.Uninstaller != 1) return;
    const std::u16string path = entryPath(info);
    if (path.empty()) return;
    if (system.folderExists(path)) {
      if (!foldersBefore.count(path)) state.installationList.push_back(path);
    } else {
      log.append(uninstallFileRecord(path));
    }
  }

  void registerForUninstall() {
    for (const std::u16string& folder : state.installationList) log.append(uninstallFolderRecord(folder));
    const auto registration = uninstallRegistration(options.Appname, options.Version, options.Website1, options.Company,
                                                    appFolder + options.UninstallerFilename + u".exe", installedBytes);
    if (!registration) return;
    system.registerUninstaller(*registration);
    log.append(uninstallKeyRecord(kUninstallRootName, registration->subKey));
  }

  void makeDesktopShortcuts() {
    LineListFile list;
    if (!open(list, state.workFolder + u"Desktop.dat")) return;
    const auto records = readShortcutList(list, [this](const std::u16string& line) { return expand(line); });
    close(list);
    for (const ShortcutLink& link : shortcutLinks(records, options.desktopBase)) {
      system.createShortcut(link);
      if (options.Uninstaller == 1) log.append(uninstallFileRecord(link.linkPath));
    }
  }

  void makeStartMenuShortcuts() {
    LineListFile list;
    if (!open(list, state.workFolder + u"Startmenu.dat")) return;
    const StartMenuPlan plan = startMenuPlan(options.startMenuBase, choices.startMenuFolderText);
    const bool folderBefore = system.folderExists(plan.folder) && !earlierFolders.count(plan.folder);
    system.makeFolderPath(plan.folder);  // a folder that cannot be made shows as links that fail
    const auto records = readShortcutList(list, [this](const std::u16string& line) { return expand(line); });
    close(list);
    const std::vector<ShortcutLink> links = shortcutLinks(records, plan.folder);
    for (const ShortcutLink& link : links) system.createShortcut(link);
    if (options.Uninstaller != 1) return;
    // The uninstaller empties a recorded folder. A folder that was there before (a shared folder
    // the user typed) may hold other programs' links, so then only our own links are recorded,
    // unless an earlier installation of this application made it.
    if (!plan.recordedFolder.empty() && !folderBefore) {
      log.append(uninstallFolderRecord(plan.recordedFolder));
    } else {
      for (const ShortcutLink& link : links) log.append(uninstallFileRecord(link.linkPath));
    }
  }

  void writeRegistryList() {
    LineListFile list;
    if (!open(list, state.workFolder + u"Registry.dat")) return;
    const auto entries = readRegistryList(list, [this](const std::u16string& line) { return expand(line); });
    close(list);
    for (const RegistryListEntry& entry : entries) {
      system.writeRegistryEntry(entry);
      if (entry.uninstallFlag != 0 && options.Uninstaller == 1) {
        log.append(uninstallValueRecord(entry.rootName, entry.subKey, entry.valueName));
      }
    }
  }

  void run() {
    appFolder = addBackslash(choices.appFolderText);
    publishEnvironment();

    PayloadArchiveReader reader(system.fileSystem);
    if (!openPayloadArchive(reader, state.ownFile)) {
      system.showError(texts.couldNotExtractTitle, texts.couldNotExtract);
      endRun();
      return;
    }
    if (!system.makeApplicationFolder(appFolder)) {
      system.showError(kErrorTitle, kSetupErrorText);
      endRun();
      return;
    }
    const std::uint64_t entryCount = countPayloadEntries(system.fileSystem, state.ownFile);
    if (options.Uninstaller == 1) {
      noteFoldersBefore(reader);
      writeUninstaller(static_cast<std::uint32_t>(entryCount));
    }
    system.setProgressMaximum(static_cast<int>(entryCount + 2));

    for (int step = firstPayloadEntry(reader); step == kPayloadOk; step = nextPayloadEntry(reader)) {
      if (!installEntry(reader)) return;
    }
    closePayloadArchive(reader);
    system.setProgress(position);
    system.setStatus(texts.finished);

    if (options.Uninstaller != 0) registerForUninstall();
    if (options.Desktopicon == 1 && choices.desktopIcon) makeDesktopShortcuts();
    if (options.StartMenuFolder == 1 && choices.startMenuFolder) makeStartMenuShortcuts();
    system.setProgress(position + 1);
    if (options.Registry == 1) writeRegistryList();
    system.setProgress(position + 2);
    closeLog();
    system.showFinishPage();
    system.setProgress(0);
  }
};

}  // namespace

std::u16string extractionStatusText(const InstallationTexts& texts, const std::u16string& appFolder,
                                    const std::u16string& entryName) {
  return texts.extracting + u"\n" + appFolder + entryName;
}

std::u16string extractionFailureText(const InstallationTexts& texts, const std::u16string& entryName) {
  return texts.couldNotExtract + u"\n" + filePart(entryName);
}

void runInstallationSteps(SetupState& state, const InstallationTexts& texts, const InstallationSystem& system) {
  Run(state, texts, system).run();
}

}  // namespace averlune
