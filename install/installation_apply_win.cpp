#include "install/installation_apply_win.h"

#include <atomic>
#include <vector>

#include "base/file_bytes.h"
#include "base/folder_path_win.h"
#include "config/uninstall_log.h"
#include "guards/protected_file_win.h"
#include "install/held_folders_win.h"
#include "install/installation_log.h"
#include "install/registry_list_win.h"
#include "install/shortcut_link_win.h"
#include "install/uninstall_registration_win.h"

namespace averlune {
namespace {

struct Apply {
  Apply(const InstallationPlan& runPlan, PayloadArchiveReader& runReader, const InstallationReports& runReports,
        InstallationTarget& runTarget)
      : plan(runPlan), reader(runReader), reports(runReports), target(runTarget) {}

  const InstallationPlan& plan;
  PayloadArchiveReader& reader;
  const InstallationReports& reports;
  InstallationTarget& target;
  bool logOpen = false;
  // The entries gone through so far, read by the log's closing records on whichever thread closes it.
  std::atomic<std::size_t> entriesDone{0};
  int position = 0;
  std::uint64_t installedBytes = 0;  // of the entries extracted whole
  std::size_t waitingCopiesLogged = 0;  // of target.atRestart.queued

  void append(const std::string& record) const {
    if (logOpen && !record.empty()) appendUninstallLog(target.log, record);
  }

  // The log is closed (and its digest kept) before the run ends: the uninstaller must be able to
  // remove what an aborted run left. Closing appends the records the plan gives for the entries
  // done (the run's own closing records, and what the earlier version wrote).
  void closeLog() {
    if (logOpen) closeUninstallLog(target.log);
    logOpen = false;
  }

  // The uninstaller's files go only into the held application folder, protected and whole: the
  // registration must never point at a cut program, nor at a file that is not the one written (a
  // name held open by another program refuses the rename). Without the program there is no log,
  // and without the log no entry. Failures are silent.
  void writeUninstaller(const PlannedUninstaller& files) {
    const HeldFolders& folders = target.folders;
    noteLine(reports, u"uninstaller: " + files.imagePath);
    const PlaceInHeldFolder image = placeInHeldFolder(folders, files.imagePath);
    if (target.uninstallerImage.empty() || !image.folder ||
        !writeProtectedFile(image.folder, image.name, target.uninstallerImage)) {
      noteLine(reports, u"the uninstaller could not be written: no uninstall log, no uninstall entry");
      return;
    }
    std::string language;
    const PlaceInHeldFolder languageCopy = placeInHeldFolder(folders, files.languageCopy);
    if (readFileBytes(files.languageFile, language)) {
      keepLanguageDigest(target.log, language);  // the uninstaller reads no other copy
      if (languageCopy.folder) writeProtectedFile(languageCopy.folder, languageCopy.name, language);
    }
    noteLine(reports, u"uninstall log: " + files.logPath);
    // The user's Cancel closes the log from the main thread while entries are extracted; it gets the
    // same records as an Abort after the entries done then.
    logOpen = createUninstallLog(target.log, placeInHeldFolder(folders, files.logPath), files.logHeader,
                                 files.digestKey, [this] { return logRecordsAfter(plan, entriesDone.load()); });
    if (!logOpen) noteLine(reports, u"the uninstall log could not be written: no uninstall entry");
  }

  // An aborted run leaves no file cut short: what this attempt wrote is no file the setup
  // extracted, and a cut program or document is damaged data. A file the attempt did not change
  // (another program's, in use, or an entry the archive could not give) is left alone.
  void removeCutFile(const PlannedEntry& entry, PayloadExtraction outcome) const {
    if (outcome != PayloadExtraction::fileCut) return;
    noteLine(reports, u"removed after the failure: " + entry.path);
    removeFileInHeldFolder(target.folders, entry.path);
  }

  // False when the user chose Abort (the run has been ended).
  bool installEntry(std::size_t index) {
    const PlannedEntry& entry = plan.entries[index];
    for (;;) {
      reports.setStatus(extractionStatus(plan, entry));
      const PayloadExtractionResult result = extractPayloadEntry(reader, entry.info, entry.path, entry.folder);
      if (result.outcome == PayloadExtraction::extracted) {
        installedBytes += entry.info.uncompressedSize;
        break;
      }
      const std::u16string question = extractionQuestion(plan, entry);
      if (question.empty()) break;  // a nameless entry (the archive's own root) passes unasked and unlogged
      noteLine(reports, extractionFailureLogLine(entry.info.name, result));
      const ExtractionChoice choice = reports.askAfterFailedExtraction(plan.texts.couldNotExtractTitle, question);
      if (choice == ExtractionChoice::retry) continue;
      if (choice == ExtractionChoice::abort) {
        removeCutFile(entry, result.outcome);
        closeLog();
        reports.endRun(true);
        return false;
      }
      break;
    }
    append(entry.record);
    // A replacement left to the restart waits beside the file under a name of its own. It is
    // logged as well, so that an uninstallation before the restart removes it too, and the restart
    // then has nothing to put back into a folder that is gone.
    const std::vector<FileAtRestart>& queued = target.atRestart.queued;
    for (; waitingCopiesLogged < queued.size(); ++waitingCopiesLogged) {
      append(uninstallFileRecord(queued[waitingCopiesLogged].waitingCopy));
    }
    entriesDone = index + 1;
    reports.setProgress(++position);
    return true;
  }

  void registerEntry(UninstallRegistration registration) {
    if (!logOpen) return;  // the uninstaller or its log was not written: nothing may name them
    registration.estimatedSize = estimatedSizeOf(installedBytes);
    noteLine(reports, u"uninstall entry: HKEY_LOCAL_MACHINE\\" + registration.subKey);
    registerUninstaller(registration);
  }

  void makeLink(const PlannedLink& planned) const {
    const ShortcutLink& link = planned.link;
    noteLine(reports, linkLogLine(link));
    createShortcut(link.target, link.linkPath, link.workingFolder, link.arguments, u"", u"", 0);
  }

  void makeStartMenuLinks() const {
    noteLine(reports, u"folder: " + plan.startMenuFolder);
    makeFolderPath(plan.startMenuFolder);  // a folder that cannot be made shows as links that fail
    for (const PlannedLink& link : plan.startMenuLinks) makeLink(link);
  }

  void run() {
    if (plan.uninstaller) writeUninstaller(*plan.uninstaller);
    reports.setProgressMaximum(plan.progressMaximum);
    for (std::size_t index = 0; index < plan.entries.size(); ++index) {
      if (!installEntry(index)) return;
    }
    closePayloadArchive(reader);
    reports.setProgress(position);
    reports.setStatus(plan.texts.finished);

    if (plan.registration) registerEntry(*plan.registration);
    for (const PlannedLink& link : plan.desktopLinks) makeLink(link);
    if (!plan.startMenuFolder.empty()) makeStartMenuLinks();
    reports.setProgress(position + 1);
    for (const PlannedValue& value : plan.registryValues) {
      noteLine(reports, registryValueLogLine(value.entry));
      writeRegistryEntry(value.entry);
    }
    reports.setProgress(position + 2);
    closeLog();
    reports.showFinishPage();
    reports.setProgress(0);
  }
};

}  // namespace

void applyInstallationPlan(const InstallationPlan& plan, PayloadArchiveReader& reader,
                           const InstallationReports& reports, InstallationTarget& target) {
  Apply(plan, reader, reports, target).run();
}

}  // namespace averlune
