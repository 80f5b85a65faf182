#include "uninstaller/uninstall_run.h"

#include <algorithm>
#include <string>

#include "config/fixed_texts.h"
#include "base/path_text.h"
#include "uninstaller/closing_message.h"
#include "guards/web_address.h"

namespace averlune {

UninstallWindowContent uninstallWindowContent(const UninstallTexts& texts, const UninstallLogHeader& header,
                                              std::uint32_t progressMaximum) {
  UninstallWindowContent content;
  content.title = u"Uninstall " + header.appName;
  content.header = texts.Header;
  content.subtitle = texts.Header_b;
  content.status = texts.Uninstalling + u" " + header.appName;
  content.cancel = texts.Btn_cancel;
  content.exitQuestionTitle = texts.ExitUninstall_T;
  content.exitQuestion = texts.ExitUninstall;
  content.progressMaximum = progressMaximum;
  return content;
}

namespace {

// The bar moves once for every file and folder record; the log's entry count counts only what the
// run itself extracted, so a log that carries an earlier version's records holds more of them.
std::uint32_t progressMaximumOf(const LineListFile& log, std::uint32_t entryCount) {
  LineListFile ahead = log;
  UninstallRecord record;
  std::uint32_t steps = 0;
  while (readUninstallRecord(ahead, record)) {
    if (record.kind == UninstallRecordKind::file || record.kind == UninstallRecordKind::folder) ++steps;
  }
  return std::max(entryCount, steps);
}

struct LogVoucher {
  LogTrust trust = LogTrust::ownFolderOnly;
  std::u16string entryName;  // empty: no entry names this uninstaller
};

// The entries that name this uninstaller decide how far the log is trusted. Several may name it (the
// folder was installed into again under another name): the one whose LogDigest matches vouches;
// when digests are there and none matches, the log is refused (nothing). Only older setups' entries:
// the one named like the header, or else the first.
std::optional<LogVoucher> findLogVoucher(const UninstallSystem& system, const std::string& logBytes,
                                         const std::u16string& appName) {
  std::vector<std::u16string> naming;
  for (const UninstallEntryText& entry : system.uninstallEntries()) {
    if (namesUninstaller(entry.uninstallString, system.ownFile)) naming.push_back(entry.name);
  }
  LogVoucher voucher;
  if (naming.empty()) return voucher;
  const std::u16string digest = system.fileDigest(logBytes);
  bool digestStored = false;
  for (const std::u16string& name : naming) {
    const std::optional<std::u16string> stored = system.storedDigest(name, kLogDigestValueName);
    if (!stored) continue;
    digestStored = true;
    if (!digest.empty() && equalsIgnoringAsciiCase(digest, *stored)) return LogVoucher{LogTrust::digestMatched, name};
  }
  if (digestStored) return std::nullopt;
  voucher.trust = LogTrust::entryWithoutDigest;
  voucher.entryName = naming.front();
  for (const std::u16string& name : naming) {
    if (equalsIgnoringAsciiCase(name, appName)) return LogVoucher{LogTrust::entryWithoutDigest, name};
  }
  return voucher;
}

// The language copy, once its digest matches the vouching entry's LanguageDigest; an entry without
// one (an older setup's, or none) leaves it unchecked: it only gives texts.
bool readCheckedLanguageCopy(const UninstallSystem& system, const LogVoucher& voucher, KeyValueFile& language) {
  std::string bytes;
  if (!system.readLanguageCopy(bytes)) return false;
  if (!voucher.entryName.empty()) {
    const std::optional<std::u16string> stored = system.storedDigest(voucher.entryName, kLanguageDigestValueName);
    if (stored) {
      const std::u16string digest = system.fileDigest(bytes);
      if (digest.empty() || !equalsIgnoringAsciiCase(digest, *stored)) return false;
    }
  }
  openBytes(language, bytes);
  return true;
}

// The administrator's log of a pass: every item removed, then every item left, then the count of
// records passed over (never named: their paths come from a file a standard user may have edited).
void noteOutcome(const UninstallSystem& system, const RemovalOutcome& outcome) {
  if (!system.note) return;
  for (const std::u16string& item : outcome.removed) system.note(u"removed: " + item);
  for (const std::u16string& item : outcome.deletedAtRestart) system.note(u"deleted at the next restart: " + item);
  for (const std::u16string& item : outcome.itemsLeft) system.note(u"left: " + item);
  if (outcome.recordsPassedOver != 0) {
    const std::string count = std::to_string(outcome.recordsPassedOver);
    system.note(u"records passed over: " + std::u16string(count.begin(), count.end()));
  }
}

}  // namespace

ExitCode runUninstallSteps(const UninstallSystem& system, bool silent) {
  const auto note = [&system](const std::u16string& line) {
    if (system.note) system.note(line);
  };
  const auto refuse = [&](const char16_t* reason) {
    note(std::u16string(u"refused: ") + reason);
    if (!silent) system.showError(kErrorTitle, kUninstallErrorText);
    return uninstallExitCode(silent, UninstallOutcome::refused);
  };
  if (!system.enterOwnFolder()) return refuse(u"the uninstaller's folder cannot be made the current folder");
  // The log is read once: the header that is checked here is the header of the records removed
  // below, even if someone replaces the file meanwhile.
  LineListFile log;
  UninstallLogHeader header;
  if (!system.openLog(log) || !readUninstallLogHeader(log, header)) {
    return refuse(u"the uninstall log is missing or cannot be read");
  }
  if (isRefusedAppFolder(header.appFolder, system.protectedFolders, system.folderId) ||
      !isOwnAppFolder(header.appFolder, system.ownFolder) || !system.holdFolderWithoutLinks(system.ownFolder)) {
    return refuse(u"the uninstall log names another folder, a folder that may not be removed, or a link");
  }
  const std::optional<LogVoucher> voucher = findLogVoucher(system, log.bytes, header.appName);
  if (!voucher) return refuse(u"the uninstall log differs from the one its uninstall entry vouches for");
  // Silent removal shows no text, so it does without the language copy.
  KeyValueFile language;
  if (!silent && !readCheckedLanguageCopy(system, *voucher, language)) {
    return refuse(u"the language copy is missing or differs from the one its uninstall entry vouches for");
  }

  const std::uint32_t progressMaximum = progressMaximumOf(log, header.entryCount);
  RemovalScope scope;
  scope.entryName = voucher->entryName;
  scope.appFolder = addBackslash(header.appFolder);  // the records spell it as the header does
  scope.desktopFolders = system.desktopFolders;
  scope.programsFolders = system.programsFolders;
  scope.shellFolders = system.shellFolders;
  scope.trust = voucher->trust;

  // Only a silent run's exit code can tell that a restart is needed: with the window, what stays is
  // named as left, for the user to delete.
  RemovalSystem removal = system.removal;
  if (!silent) removal.deleteAtRestart = nullptr;
  const RemovalWork work = [&](const std::function<void(std::uint32_t)>& progress) {
    RemovalOutcome outcome = removeInstalledItems(log, scope, removal, progress);
    system.deleteLogAndLanguageCopy();
    // Its key record has taken the entry with it; an aborted installation leaves an entry that
    // holds only the digests.
    if (voucher->trust == LogTrust::digestMatched) system.forgetDigests(voucher->entryName);
    if (progress) progress(progressMaximum);
    return outcome;
  };

  const auto finish = [&](const RemovalOutcome& outcome) {
    noteOutcome(system, outcome);
    return uninstallExitCode(silent, isIncomplete(outcome)                ? UninstallOutcome::itemsLeft
                                     : !outcome.deletedAtRestart.empty() ? UninstallOutcome::removedAtRestart
                                                                         : UninstallOutcome::removed);
  };
  if (silent) {
    const RemovalOutcome outcome = work(nullptr);
    system.startSelfDeletion(header.appFolder, outcome.deletedAtRestart);
    return finish(outcome);
  }

  const UninstallTexts texts = readUninstallTexts(language, header.appName);
  close(language);
  if (!system.askYesNo(texts.BM_T, texts.BM)) {
    note(u"declined: nothing removed");
    return uninstallExitCode(silent, UninstallOutcome::declined);
  }
  const RemovalOutcome outcome =
      system.runWithWindow(uninstallWindowContent(texts, header, progressMaximum), work);
  system.showMessage(texts.Success_T, closingMessageText(texts, outcome));
  system.hideWindow();
  if (isWebAddress(header.webSite)) system.openWebAddress(header.webSite);
  system.startSelfDeletion(header.appFolder, outcome.deletedAtRestart);
  return finish(outcome);
}

}  // namespace averlune
