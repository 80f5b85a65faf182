#include "uninstaller/uninstall_run.h"

#include "config/fixed_texts.h"
#include "config/path_text.h"
#include "uninstaller/closing_message.h"
#include "config/web_address.h"

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

int runUninstallSteps(const UninstallSystem& system, bool silent) {
  auto refuse = [&] {
    if (silent) return kUninstallLogUnusable;
    system.showError(kErrorTitle, kUninstallErrorText);
    return kUninstallDone;
  };
  // Silent removal shows no text, so it does without the language copy.
  KeyValueFile language;
  if (!silent && !system.openLanguageCopy(language)) return refuse();
  // The log is read once: the header that is checked here is the header of the records removed
  // below, even if someone replaces the file meanwhile.
  LineListFile log;
  UninstallLogHeader header;
  if (!system.openLog(log) || !readUninstallLogHeader(log, header)) return refuse();
  if (isRefusedAppFolder(header.appFolder, system.protectedFolders, system.folderId) ||
      !isOwnAppFolder(header.appFolder, system.ownFolder) || !system.holdFolderWithoutLinks(system.ownFolder)) {
    return refuse();
  }
  const std::optional<std::u16string> storedDigest = system.storedLogDigest(header.appName);
  if (storedDigest) {
    const std::u16string digest = system.logDigest(log.bytes);
    if (digest.empty() || !equalsIgnoringAsciiCase(digest, *storedDigest)) return refuse();
  }
  RemovalScope scope;
  scope.appName = header.appName;
  scope.appFolder = addBackslash(header.appFolder);  // the records spell it as the header does
  scope.desktopFolders = system.desktopFolders;
  scope.programsFolders = system.programsFolders;
  scope.shellFolders = system.shellFolders;
  scope.valuesAllowed = storedDigest.has_value();

  const RemovalWork work = [&](const std::function<void(std::uint32_t)>& progress) {
    RemovalOutcome outcome = removeInstalledItems(log, scope, system.removal, progress);
    system.deleteLogAndLanguageCopy();
    // Its key record has taken the entry with it; an aborted installation leaves an entry that
    // holds only the digest.
    if (storedDigest) system.forgetLogDigest(header.appName);
    if (progress) progress(header.entryCount);
    return outcome;
  };

  if (silent) {
    const RemovalOutcome outcome = work(nullptr);
    system.writeSelfDeleteBatch(header.appFolder);
    return outcome.itemsLeft.empty() ? kUninstallDone : kUninstallItemsLeft;
  }

  const UninstallTexts texts = readUninstallTexts(language, header.appName);
  close(language);
  if (!system.askYesNo(texts.BM_T, texts.BM)) return kUninstallDone;
  const RemovalOutcome outcome = system.runWithWindow(uninstallWindowContent(texts, header), work);
  system.showMessage(texts.Success_T, closingMessageText(texts, outcome.itemsLeft));
  system.hideWindow();
  if (isWebAddress(header.webSite)) system.openWebAddress(header.webSite);
  system.writeSelfDeleteBatch(header.appFolder);
  return kUninstallDone;
}

}  // namespace averlune
