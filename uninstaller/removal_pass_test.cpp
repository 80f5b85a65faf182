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

RemovalScope scope(bool valuesAllowed = true) {
  RemovalScope scope;
  scope.appName = u"Tool";
  scope.appFolder = kApp;
  scope.desktopFolders = {u"C:\\Users\\Ann\\Desktop\\"};
  scope.programsFolders = {kPrograms};
  scope.valuesAllowed = valuesAllowed;
  return scope;
}

// Runs the pass over `records` (a header is put in front and skipped as the uninstaller does).
RemovalOutcome runPass(FakeMachine& machine, const std::string& records, std::vector<std::uint32_t>* progress = nullptr,
                       bool valuesAllowed = true) {
  UninstallLogHeader header;
  header.appName = u"#DF";  // a marker as the name: the header is skipped by position
  header.appFolder = kApp;
  LineListFile log;
  openBytes(log, uninstallLogHeaderBytes(header) + records);
  EXPECT_TRUE(readUninstallLogHeader(log, header));
  return removeInstalledItems(log, scope(valuesAllowed), machine.system(), [progress](std::uint32_t removed) {
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
}

TEST(RemovalPass, WithoutADigestValueRecordsArePassedOverAndListedAsLeft) {
  FakeMachine machine;
  machine.add(kApp, Entry::folder);
  machine.add(kApp + u"a.txt", Entry::file);
  const std::u16string entryKey = std::u16string(kUninstallKeyBase) + u"Tool";
  const std::string records = uninstallFileRecord(kApp + u"a.txt") + uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", entryKey) +
                              uninstallValueRecord(u"HKLM", u"Software\\Acme\\Tool\\", u"Path") +
                              uninstallValueRecord(u"HKEY_LOCAL_MACHINE", u"\\Software\\Other", u"Licence");
  const RemovalOutcome outcome = runPass(machine, records, nullptr, false);
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

}  // namespace
}  // namespace averlune
