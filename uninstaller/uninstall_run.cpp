#include "uninstaller/uninstall_run.h"

#include "config/fixed_texts.h"
#include "base/path_text.h"
#include "uninstaller/closing_message.h"
#include "guards/web_address.h"

namespace averlune {

UninstallWindowContent uninstallWindowContent(const UninstallTexts& texts, const UninstallLogHeader& header) {
  UninstallWindowContent content;
  content.title = u"Uninstall " + header.appName;
  content.header = texts.Header;
  content.subtitle = texts.Header_b;
  content.status = texts.Uninstalling + u" " + header.appName;
  content.cancel = texts.Btn_cancel;
  content.exitQuestionTitle = texts.ExitUninstall_T;
  content.exitQuestion = texts.ExitUninstall;
  content.entryCount = header.entryCount;
  return content;
}

namespace {

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

}  // namespace

int runUninstallSteps(const UninstallSystem& system, bool silent) {
  auto refuse = [&] {
    if (silent) return kUninstallLogUnusable;
    system.showError(kErrorTitle, kUninstallErrorText);
    return kUninstallDone;
  };
  if (!system.enterOwnFolder()) return refuse();
  // The log is read once: the header that is checked here is the header of the records removed
  // below, even if someone replaces the file meanwhile.
  LineListFile log;
  UninstallLogHeader header;
  if (!system.openLog(log) || !readUninstallLogHeader(log, header)) return refuse();
  if (isRefusedAppFolder(header.appFolder, system.protectedFolders, system.folderId) ||
      !isOwnAppFolder(header.appFolder, system.ownFolder) || !system.holdFolderWithoutLinks(system.ownFolder)) {
    return refuse();
  }
  const std::optional<LogVoucher> voucher = findLogVoucher(system, log.bytes, header.appName);
  if (!voucher) return refuse();
  // Silent removal shows no text, so it does without the language copy.
  KeyValueFile language;
  if (!silent && !readCheckedLanguageCopy(system, *voucher, language)) return refuse();

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
    if (progress) progress(header.entryCount);
    return outcome;
  };

  if (silent) {
    const RemovalOutcome outcome = work(nullptr);
    system.startSelfDeletion(header.appFolder, outcome.deletedAtRestart);
    if (isIncomplete(outcome)) return kUninstallItemsLeft;
    return outcome.deletedAtRestart.empty() ? kUninstallDone : kUninstallRestartNeeded;
  }

  const UninstallTexts texts = readUninstallTexts(language, header.appName);
  close(language);
  if (!system.askYesNo(texts.BM_T, texts.BM)) return kUninstallDone;
  const RemovalOutcome outcome = system.runWithWindow(uninstallWindowContent(texts, header), work);
  system.showMessage(texts.Success_T, closingMessageText(texts, outcome));
  system.hideWindow();
  if (isWebAddress(header.webSite)) system.openWebAddress(header.webSite);
  system.startSelfDeletion(header.appFolder, outcome.deletedAtRestart);
  return kUninstallDone;
}

}  // namespace averlune
