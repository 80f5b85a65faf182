#include "uninstaller/removal_pass.h"

#include <gtest/gtest.h>

#include "uninstaller/uninstall_test_support.h"

namespace averlune {
namespace {

using uninstalltest::Entry;
using uninstalltest::FakeMachine;

const std::u16string kApp = u"C:\\Apps\\Tool\\";
const std::u16string kPrograms = u"C:\\Users\\Ann\\Start Menu\\Programs\\";
const std::u16string kEntryKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";

RemovalScope scope(LogTrust trust) {
  RemovalScope scope;
  scope.entryName = u"Tool";
  scope.appFolder = kApp;
  scope.desktopFolders = {u"C:\\Users\\Ann\\Desktop\\"};
  scope.programsFolders = {kPrograms};
  scope.shellFolders = {kPrograms + u"Startup\\", kPrograms + u"Administrative Tools\\"};
  scope.trust = trust;
  return scope;
}

// Runs the pass over `records` (a header is put in front and skipped as the uninstaller does).
RemovalOutcome runPass(FakeMachine& machine, const std::string& records, std::vector<std::uint32_t>* progress = nullptr,
                       LogTrust trust = LogTrust::digestMatched) {
  UninstallLogHeader header;
  header.appName = u"#DF";  // a marker as the name: the header is skipped by position
  header.appFolder = kApp;
  LineListFile log;
  openBytes(log, uninstallLogHeaderBytes(header) + records);
  EXPECT_TRUE(readUninstallLogHeader(log, header));
  return removeInstalledItems(log, scope(trust), machine.system(), [progress](std::uint32_t removed) {
    if (progress) progress->push_back(removed);
  });
}

TEST(RemovalPass, TheSetupsRecordsRemoveFilesEntryStartMenuFolderAndFlaggedValuesInFileOrder) {
  FakeMachine machine;
  for (const char16_t* name : {u"a.txt", u"b.exe"}) machine.add(kApp + name, Entry::file);
  machine.add(kApp, Entry::folder);
  machine.add(kApp + u"uninstall.exe", Entry::file);
  machine.add(kPrograms + u"Tool\\", Entry::folder);
  machine.add(kPrograms + u"Tool\\Tool.lnk", Entry::file);
  machine.add(kPrograms + u"Tool\\Readme.lnk", Entry::file);

  const std::string records = uninstallFileRecord(kApp + u"a.txt") + uninstallFileRecord(kApp + u"b.exe") +
                              uninstallFileRecord(kApp + u"gone.txt") +  // already gone: not left
                              uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", kEntryKey) +
                              uninstallFolderRecord(kPrograms + u"Tool\\") +
                              uninstallValueRecord(u"HKLM", u"Software\\Acme\\Tool\\", u"Path") +
                              uninstallValueRecord(u"HKEY_USERS", u".DEFAULT\\Acme\\", u"") +
                              uninstallValueRecord(u"HKEY_LOCAL_MACHINE", u"Software\\Acme\\", u"Size");
  std::vector<std::uint32_t> progress;
  const RemovalOutcome outcome = runPass(machine, records, &progress);

  EXPECT_TRUE(outcome.itemsLeft.empty());
  EXPECT_EQ(outcome.recordsPassedOver, 0u);
  // What the administrator's log names as removed: what was there and went, never the file that
  // was already gone.
  EXPECT_EQ(outcome.removed, (std::vector<std::u16string>{kApp + u"a.txt", kApp + u"b.exe", kPrograms + u"Tool\\",
                                                          u"HKEY_LOCAL_MACHINE\\" + kEntryKey,
                                                          u"HKEY_CURRENT_USER\\Software\\Acme\\Tool\\Path",
                                                          u"HKEY_USERS\\.DEFAULT\\Acme\\",
                                                          u"HKEY_LOCAL_MACHINE\\Software\\Acme\\Size"}));
  EXPECT_EQ(progress, (std::vector<std::uint32_t>{1, 2, 3, 4}));
  EXPECT_FALSE(machine.has(kApp + u"a.txt"));
  EXPECT_FALSE(machine.has(kApp + u"b.exe"));
  EXPECT_FALSE(machine.has(kPrograms + u"Tool\\"));
  EXPECT_TRUE(machine.has(kApp + u"uninstall.exe"));  // the batch's business
  EXPECT_TRUE(machine.has(kApp));
  // The abbreviation HKLM names no root: the setup wrote such a value under HKEY_CURRENT_USER.
  EXPECT_EQ(machine.registryCalls, (std::vector<std::string>{
                                       "deleteKey HKLM " + encodeUtf8(kEntryKey),
                                       "prune HKLM " + encodeUtf8(kEntryKey),
                                       "deleteValue HKCU Software\\Acme\\Tool\\ Path",
                                       "prune HKCU Software\\Acme\\Tool\\",
                                       "deleteValue HKU .DEFAULT\\Acme\\",
                                       "prune HKU .DEFAULT\\Acme\\",
                                       "deleteValue HKLM Software\\Acme\\ Size",
                                       "prune HKLM Software\\Acme\\",
                                   }));
}

TEST(RemovalPass, RecordsOutsideTheFoldersOrThroughLinksArePassedOverAndNeverListed) {
  FakeMachine machine;
  machine.add(kApp, Entry::folder);
  machine.add(u"C:\\Windows\\System32\\kernel32.dll", Entry::file);
  machine.add(u"C:\\Other\\", Entry::folder);
  machine.add(u"C:\\Other\\keep.txt", Entry::file);
  machine.add(u"C:\\Users\\Ann\\Desktop\\", Entry::folder);
  machine.add(u"C:\\Users\\Ann\\Desktop\\Report.docx", Entry::file);
  machine.add(kPrograms + u"Startup\\", Entry::folder);
  machine.add(kPrograms + u"Startup\\Guard.lnk", Entry::file);
  // data is a link in the application folder to C:\Other: the link may go, what it points to not.
  machine.add(kApp + u"data", Entry::link);
  machine.add(kApp + u"data\\keep.txt", Entry::file);  // what the link shows of C:\Other
  machine.add(kApp + u"cache", Entry::link);

  const std::string records =
      uninstallFileRecord(u"C:\\Windows\\System32\\kernel32.dll") + uninstallFolderRecord(u"C:\\Other\\") +
      uninstallFileRecord(kApp + u"..\\..\\Windows\\System32\\kernel32.dll") +
      uninstallFileRecord(kApp + u"data\\keep.txt") + uninstallFolderRecord(kApp + u"data\\") +
      uninstallFileRecord(kApp + u"cache") + uninstallFileRecord(u"C:\\Users\\Ann\\Desktop\\Report.docx") +
      uninstallFolderRecord(kPrograms + u"Startup\\") +
      uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall") +
      uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", std::u16string(kUninstallKeyBase) + u"Other Product") +
      uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", u"Software\\Policies");
  std::vector<std::uint32_t> progress;
  const RemovalOutcome outcome = runPass(machine, records, &progress);

  EXPECT_EQ(progress, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}));  // passed over, still counted
  EXPECT_EQ(machine.removeCalls, (std::vector<std::u16string>{kApp + u"data\\", kApp + u"cache"}));
  EXPECT_TRUE(machine.has(u"C:\\Windows\\System32\\kernel32.dll"));
  EXPECT_TRUE(machine.has(u"C:\\Other\\keep.txt"));
  EXPECT_TRUE(machine.has(u"C:\\Users\\Ann\\Desktop\\Report.docx"));
  EXPECT_TRUE(machine.has(kPrograms + u"Startup\\Guard.lnk"));
  EXPECT_FALSE(machine.has(kApp + u"data"));
  EXPECT_FALSE(machine.has(kApp + u"cache"));
  EXPECT_TRUE(machine.registryCalls.empty());
  EXPECT_TRUE(outcome.itemsLeft.empty());
  // Told by their number alone: every record but the two links that went.
  EXPECT_EQ(outcome.recordsPassedOver, 9u);
}

TEST(RemovalPass, WithoutADigestValueRecordsArePassedOverAndListedAsLeft) {
  FakeMachine machine;
  machine.add(kApp, Entry::folder);
  machine.add(kApp + u"a.txt", Entry::file);
  const std::u16string entryKey = std::u16string(kUninstallKeyBase) + u"Tool";
  const std::string records = uninstallFileRecord(kApp + u"a.txt") + uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", entryKey) +
                              uninstallValueRecord(u"HKLM", u"Software\\Acme\\Tool\\", u"Path") +
                              uninstallValueRecord(u"HKEY_LOCAL_MACHINE", u"\\Software\\Other", u"Licence");
  const RemovalOutcome outcome = runPass(machine, records, nullptr, LogTrust::entryWithoutDigest);
  EXPECT_FALSE(machine.has(kApp + u"a.txt"));
  EXPECT_EQ(machine.registryCalls, (std::vector<std::string>{"deleteKey HKLM " + encodeUtf8(entryKey),
                                                             "prune HKLM " + encodeUtf8(entryKey)}));
  EXPECT_EQ(outcome.itemsLeft, (std::vector<std::u16string>{u"HKEY_CURRENT_USER\\Software\\Acme\\Tool\\Path",
                                                            u"HKEY_LOCAL_MACHINE\\Software\\Other\\Licence"}));
}

TEST(RemovalPass, WhatStaysIsListedOnceInLogOrderAndNestedFoldersGoWhateverTheirOrder) {
  FakeMachine machine;
  machine.add(kApp, Entry::folder);
  machine.add(kApp + u"held.dll", Entry::readOnlyFile);  // cannot be deleted, as a file in use
  machine.add(kApp + u"lib\\", Entry::folder);
  machine.add(kApp + u"lib\\sub\\", Entry::folder);
  machine.add(kApp + u"lib\\sub\\x.dll", Entry::file);
  machine.add(kApp + u"docs\\", Entry::folder);
  machine.add(kApp + u"docs\\mine.txt", Entry::readOnlyFile);  // not the setup's, and read-only
  machine.add(kApp + u"docs\\a.txt", Entry::file);

  // The setup records a folder before the folders inside it.
  const std::string records = uninstallFileRecord(kApp + u"held.dll") + uninstallFileRecord(kApp + u"lib\\sub\\x.dll") +
                              uninstallFileRecord(kApp + u"held.dll") + uninstallFolderRecord(kApp + u"lib\\") +
                              uninstallFolderRecord(kApp + u"lib\\sub\\") + uninstallFolderRecord(kApp + u"docs\\");
  const RemovalOutcome outcome = runPass(machine, records);

  EXPECT_FALSE(machine.has(kApp + u"lib\\sub\\"));
  EXPECT_FALSE(machine.has(kApp + u"lib\\"));
  EXPECT_FALSE(machine.has(kApp + u"docs\\a.txt"));
  EXPECT_TRUE(machine.has(kApp + u"docs\\mine.txt"));
  EXPECT_EQ(outcome.itemsLeft, (std::vector<std::u16string>{kApp + u"held.dll", kApp + u"docs\\"}));
  // A folder that went on the second try counts as removed once; what stays is never removed.
  EXPECT_EQ(outcome.removed,
            (std::vector<std::u16string>{kApp + u"lib\\sub\\x.dll", kApp + u"lib\\", kApp + u"lib\\sub\\"}));
}

TEST(RemovalPass, HeldFilesAndTheFoldersHoldingOnlyThemWaitForTheRestartAndAreNotLeft) {
  FakeMachine machine;
  machine.add(kApp, Entry::folder);
  machine.add(kApp + u"a.txt", Entry::file);
  machine.add(kApp + u"bin\\", Entry::folder);
  machine.add(kApp + u"bin\\tool.exe", Entry::heldFile);
  machine.add(kApp + u"bin\\x.dll", Entry::file);
  machine.add(kApp + u"bin\\plugins\\", Entry::folder);
  machine.add(kApp + u"bin\\plugins\\p.dll", Entry::heldFile);
  machine.add(kApp + u"docs\\", Entry::folder);
  machine.add(kApp + u"docs\\manual.pdf", Entry::heldFile);
  machine.add(kApp + u"docs\\locked.txt", Entry::readOnlyFile);  // a restart would not delete it either
  machine.add(u"C:\\Users\\Ann\\Desktop\\Tool.lnk", Entry::heldFile);  // outside: never queued by its path

  const std::string records =
      uninstallFileRecord(kApp + u"a.txt") + uninstallFileRecord(kApp + u"bin\\tool.exe") +
      uninstallFileRecord(kApp + u"bin\\x.dll") + uninstallFileRecord(kApp + u"bin\\plugins\\p.dll") +
      uninstallFileRecord(kApp + u"docs\\manual.pdf") + uninstallFileRecord(kApp + u"docs\\locked.txt") +
      uninstallFileRecord(u"C:\\Users\\Ann\\Desktop\\Tool.lnk") + uninstallFolderRecord(kApp + u"bin\\") +
      uninstallFolderRecord(kApp + u"bin\\plugins\\") + uninstallFolderRecord(kApp + u"docs\\");
  const RemovalOutcome outcome = runPass(machine, records);

  // The files in log order, then the folders inside out, each after what it holds.
  const std::vector<std::u16string> queued = {kApp + u"bin\\tool.exe", kApp + u"bin\\plugins\\p.dll",
                                              kApp + u"docs\\manual.pdf", kApp + u"bin\\plugins\\", kApp + u"bin\\"};
  EXPECT_EQ(outcome.deletedAtRestart, queued);
  EXPECT_EQ(machine.restartQueue, queued);
  EXPECT_EQ(outcome.itemsLeft, (std::vector<std::u16string>{kApp + u"docs\\locked.txt",
                                                            u"C:\\Users\\Ann\\Desktop\\Tool.lnk", kApp + u"docs\\"}));
  EXPECT_TRUE(isIncomplete(outcome));
  EXPECT_FALSE(machine.has(kApp + u"bin\\x.dll"));

  // Without a way to queue (the window's run), a held file is left like any other.
  FakeMachine windowRun;
  windowRun.add(kApp, Entry::folder);
  windowRun.add(kApp + u"bin\\", Entry::folder);
  windowRun.add(kApp + u"bin\\tool.exe", Entry::heldFile);
  UninstallLogHeader header;
  header.appFolder = kApp;
  LineListFile log;
  openBytes(log, uninstallLogHeaderBytes(header) + uninstallFileRecord(kApp + u"bin\\tool.exe") +
                     uninstallFolderRecord(kApp + u"bin\\"));
  ASSERT_TRUE(readUninstallLogHeader(log, header));
  RemovalSystem noQueue = windowRun.system();
  noQueue.deleteAtRestart = nullptr;
  const RemovalOutcome left = removeInstalledItems(log, scope(LogTrust::digestMatched), noQueue, nullptr);
  EXPECT_TRUE(left.deletedAtRestart.empty());
  EXPECT_EQ(left.itemsLeft, (std::vector<std::u16string>{kApp + u"bin\\tool.exe", kApp + u"bin\\"}));
}

TEST(RemovalPass, RegistryRecordsThatStayAreListedAfterTheFilesInLogOrder) {
  FakeMachine machine;
  machine.add(kApp, Entry::folder);
  machine.add(kApp + u"held.dll", Entry::readOnlyFile);
  machine.registryStuck = {"deleteValue HKLM \\Software\\Acme\\ Size", "deleteKey HKLM " + encodeUtf8(kEntryKey) + "\\"};
  const std::string records = uninstallValueRecord(u"HKEY_LOCAL_MACHINE", u"\\Software\\Acme\\", u"Size") +
                              uninstallValueRecord(u"HKEY_CURRENT_USER", u"Software\\Acme\\", u"Path") +
                              uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", kEntryKey + u"\\") +
                              uninstallFileRecord(kApp + u"held.dll");
  const RemovalOutcome outcome = runPass(machine, records);
  EXPECT_EQ(outcome.itemsLeft, (std::vector<std::u16string>{kApp + u"held.dll",
                                                            u"HKEY_LOCAL_MACHINE\\Software\\Acme\\Size",
                                                            u"HKEY_LOCAL_MACHINE\\" + kEntryKey}));
}

// Which uninstall entry names the uninstaller decides how far the log reaches: the key record only
// of that entry, links and groups outside the application folder only when an entry vouches, and a
// group named like one of Windows' only when the digest matched. Each row is one log run on a fresh
// machine under each trust.
TEST(RemovalPass, TheVouchingEntryDecidesWhatOutsideTheApplicationFolderGoes) {
  const std::u16string desktopLink = u"C:\\Users\\Ann\\Desktop\\Tool.lnk";
  const std::u16string games = kPrograms + u"Games\\Tool\\";
  const std::u16string otherEntry = std::u16string(kUninstallKeyBase) + u"Other Product";
  enum Result { removed, left, passedOver };
  const struct {
    const char* what;
    std::string record;
    std::u16string item;  // what the record names on the machine
    Result digestMatched, entryWithoutDigest, ownFolderOnly;
  } rows[] = {
      {"a file in the folder", uninstallFileRecord(kApp + u"a.txt"), kApp + u"a.txt", removed, removed, removed},
      {"a desktop link", uninstallFileRecord(desktopLink), desktopLink, removed, removed, left},
      {"a group named like Windows'", uninstallFolderRecord(games), games, removed, passedOver, passedOver},
      {"a group's link", uninstallFileRecord(games + u"Tool.lnk"), games + u"Tool.lnk", removed, passedOver,
       passedOver},
      {"a group below Startup", uninstallFolderRecord(kPrograms + u"Startup\\Tool\\"), kPrograms + u"Startup\\Tool\\",
       removed, passedOver, passedOver},
      {"Startup itself", uninstallFolderRecord(kPrograms + u"Startup\\"), kPrograms + u"Startup\\", passedOver,
       passedOver, passedOver},
      {"a link directly in Startup", uninstallFileRecord(kPrograms + u"startup.\\Run.lnk"),
       kPrograms + u"Startup\\Run.lnk", passedOver, passedOver, passedOver},
      {"a link in Administrative Tools by its short name",
       uninstallFileRecord(kPrograms + u"ADMINI~1\\Run.lnk"), kPrograms + u"Administrative Tools\\Run.lnk",
       passedOver, passedOver, left},
      {"a document by a short name ending in .LNK", uninstallFileRecord(u"C:\\Users\\Ann\\Desktop\\REPORT~1.LNK"),
       u"C:\\Users\\Ann\\Desktop\\Report.lnkx", passedOver, passedOver, left},
  };
  for (const auto& row : rows) {
    for (LogTrust trust : {LogTrust::digestMatched, LogTrust::entryWithoutDigest, LogTrust::ownFolderOnly}) {
      const Result expected = trust == LogTrust::digestMatched        ? row.digestMatched
                              : trust == LogTrust::entryWithoutDigest ? row.entryWithoutDigest
                                                                      : row.ownFolderOnly;
      SCOPED_TRACE(std::string(row.what) + " under trust " + std::to_string(static_cast<int>(trust)));
      FakeMachine machine;
      for (const std::u16string& folder : {kApp, std::u16string(u"C:\\Users\\Ann\\Desktop\\"), kPrograms, kPrograms + u"Games\\",
                                           games, kPrograms + u"Startup\\", kPrograms + u"Startup\\Tool\\",
                                           kPrograms + u"Administrative Tools\\"}) {
        machine.add(folder, Entry::folder);
      }
      machine.shortNames = {{kPrograms + u"ADMINI~1", u"Administrative Tools"},
                            {u"C:\\Users\\Ann\\Desktop\\REPORT~1.LNK", u"Report.lnkx"}};
      machine.add(row.item, row.item.back() == u'\\' ? Entry::folder : Entry::file);
      const RemovalOutcome outcome = runPass(machine, row.record, nullptr, trust);
      EXPECT_EQ(machine.has(row.item), expected != removed);
      EXPECT_EQ(outcome.itemsLeft.size(), expected == left ? 1u : 0u);
      EXPECT_EQ(outcome.recordsPassedOver, expected == passedOver ? 1u : 0u);
      EXPECT_EQ(isIncomplete(outcome), expected != removed);
    }
  }

  // The key record follows the vouching entry, not the header: another product's entry is never
  // deleted, and without a vouching entry not even the one the log names.
  const std::string keys = uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", kEntryKey) +
                           uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", otherEntry);
  for (LogTrust trust : {LogTrust::digestMatched, LogTrust::entryWithoutDigest, LogTrust::ownFolderOnly}) {
    FakeMachine machine;
    const RemovalOutcome outcome = runPass(machine, keys, nullptr, trust);
    if (trust == LogTrust::ownFolderOnly) {
      EXPECT_TRUE(machine.registryCalls.empty());
      EXPECT_EQ(outcome.recordsPassedOver, 2u);
    } else {
      EXPECT_EQ(machine.registryCalls, (std::vector<std::string>{"deleteKey HKLM " + encodeUtf8(kEntryKey),
                                                                 "prune HKLM " + encodeUtf8(kEntryKey)}));
      EXPECT_EQ(outcome.recordsPassedOver, 1u);
    }
    EXPECT_TRUE(outcome.itemsLeft.empty());  // another product's entry is never suggested for deletion
  }
}

}  // namespace
}  // namespace averlune
