#include "install/installation_plan.h"

#include <gtest/gtest.h>

#include <set>

#include "base/text_decoding.h"
#include "config/uninstall_log.h"

namespace averlune {
namespace {

// The log's bytes are pinned once, beside the format (config/uninstall_log_test.cpp); here they are
// built by the format's writers, so these tests check what the plan records and in what order.
const std::string kEntryKeyRecord =
    uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool");

PayloadEntryInfo entry(const std::u16string& name, std::uint64_t size = 1) {
  PayloadEntryInfo info;
  info.name = name;
  info.nameLength = static_cast<std::uint32_t>(encodeUtf8(name).size());
  info.uncompressedSize = size;
  return info;
}

// A state and facts as a run into C:\Apps\Tool would gather them; the payload is set per case.
struct PlanFixture {
  SetupState state;
  InstallationTexts texts{u"Extracting", u"Done", u"Extract failed", u"Cannot extract"};
  InstallationFacts facts;
  std::set<std::u16string> foldersBefore;

  PlanFixture() {
    state.options.Appname = u"Tool";
    state.options.Version = u"1.0";
    state.options.Uninstaller = 1;
    state.options.UninstallerFilename = u"uninstall";
    state.options.StartMenuFolder = 1;
    state.options.startMenuBase = u"C:\\Programs\\";
    state.options.desktopBase = u"C:\\Desktop\\";
    state.languageFile = u"C:\\work\\Default.avl";
    state.choices.appFolderText = u"C:\\Apps\\Tool";
    state.choices.startMenuFolderText = u"Tools\\App";
    state.choices.desktopIcon = true;
    state.choices.startMenuFolder = true;
    facts.folderExisted = [this](const std::u16string& folder) { return foldersBefore.count(folder) > 0; };
    facts.lookup.environmentVariable = [](const std::u16string&) { return std::u16string(); };
    facts.lookup.systemFolder = [] { return std::u16string(); };
    facts.lookup.specialFolder = [](int) { return std::u16string(); };
  }

  void payload(std::vector<PayloadEntryInfo> entries) {
    facts.payload.declaredCount = entries.size();
    facts.payload.entries = std::move(entries);
  }

  InstallationPlan plan() const { return planInstallation(state, texts, facts); }
};

// The uninstall log as a run that stops after `done` entries writes it: each entry's record as it is
// done, then what the log gets when it is closed.
std::string logOf(const InstallationPlan& plan, std::size_t done) {
  std::string log = plan.uninstaller ? plan.uninstaller->logHeader : "";
  for (std::size_t index = 0; index < done; ++index) log += plan.entries[index].record;
  return log + logRecordsAfter(plan, done);
}

std::string logOf(const InstallationPlan& plan) { return logOf(plan, plan.entries.size()); }

std::string header(const std::u16string& appName, const std::u16string& webSite, std::uint32_t count) {
  return uninstallLogHeaderBytes({appName, u"1.0", webSite, u"C:\\Apps\\Tool\\", count});
}

TEST(InstallationPlan, EveryEntryLinkAndValueWithItsRecordInTheOrderTheLogGetsThem) {
  PlanFixture f;
  f.payload({entry(u""), entry(u"bin\\tool.exe", 2), entry(u"docs\\", 0), entry(u"gr\u00FCn.txt", 5)});
  f.facts.startMenuList = "<installpath>\\bin\\tool.exe\r\nTool\r\n\r\n";
  f.facts.desktopList = "\"<installpath>\\bin\\tool.exe\"\r\nTool Desk\r\n-x\r\n";
  f.state.options.Desktopicon = 1;
  f.state.options.Registry = 1;
  f.facts.registryList = "HKEY_LOCAL_MACHINE\r\nSoftware/Acme/Tool\r\nPath\r\n<installpath>\r\n" +
                         std::string("\x01\x00\x00\x00", 4) + "HKLM\r\nSoftware\\Acme\r\nKeep\r\n$10\r\n" +
                         std::string(4, '\0');
  const InstallationPlan plan = f.plan();

  EXPECT_EQ(plan.appFolder, u"C:\\Apps\\Tool\\");
  EXPECT_EQ(plan.progressMaximum, 6);
  ASSERT_TRUE(plan.uninstaller);
  EXPECT_EQ(plan.uninstaller->imagePath, u"C:\\Apps\\Tool\\uninstall.exe");
  EXPECT_EQ(plan.uninstaller->languageCopy, u"C:\\Apps\\Tool\\uninstall_l.avl");
  EXPECT_EQ(plan.uninstaller->digestKey, u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool");
  ASSERT_EQ(plan.entries.size(), 4u);
  // The nameless entry writes nothing and fails unasked; the others go below the folder.
  EXPECT_EQ(plan.entries[0].path, u"");
  EXPECT_EQ(extractionQuestion(plan, plan.entries[0]), u"");
  EXPECT_EQ(plan.entries[1].path, u"C:\\Apps\\Tool\\bin\\tool.exe");
  EXPECT_EQ(extractionStatus(plan, plan.entries[1]), u"Extracting\nC:\\Apps\\Tool\\bin\\tool.exe");
  EXPECT_EQ(extractionQuestion(plan, plan.entries[1]), u"Cannot extract\ntool.exe");
  EXPECT_EQ(plan.entries[2].path, u"C:\\Apps\\Tool\\docs\\");

  const std::string expected = header(u"Tool", u"", 4) + uninstallFileRecord(u"C:\\Apps\\Tool\\bin\\tool.exe") +
                              uninstallFileRecord(u"C:\\Apps\\Tool\\gr\u00FCn.txt") +
                              uninstallFolderRecord(u"C:\\Apps\\Tool\\docs\\") + kEntryKeyRecord +
                              uninstallFileRecord(u"C:\\Desktop\\Tool Desk.lnk") +
                              uninstallFolderRecord(u"C:\\Programs\\Tools\\App\\") +
                              uninstallValueRecord(u"HKEY_LOCAL_MACHINE", u"Software\\Acme\\Tool\\", u"Path");
  EXPECT_EQ(logOf(plan), expected);

  ASSERT_EQ(plan.desktopLinks.size(), 1u);
  EXPECT_EQ(plan.desktopLinks[0].link.arguments, u"-x");
  EXPECT_EQ(plan.startMenuFolder, u"C:\\Programs\\Tools\\App\\");
  ASSERT_EQ(plan.startMenuLinks.size(), 1u);
  EXPECT_EQ(plan.startMenuLinks[0].link.target, u"C:\\Apps\\Tool\\bin\\tool.exe");
  EXPECT_EQ(plan.startMenuLinks[0].link.linkPath, u"C:\\Programs\\Tools\\App\\Tool.lnk");
  EXPECT_EQ(plan.startMenuLinks[0].link.workingFolder, u"C:\\Apps\\Tool\\bin\\");
  ASSERT_EQ(plan.registryValues.size(), 2u);
  EXPECT_EQ(plan.registryValues[0].entry.root, RegistryRoot::localMachine);
  EXPECT_EQ(plan.registryValues[0].entry.data, u"C:\\Apps\\Tool");
  EXPECT_EQ(plan.registryValues[1].entry.root, RegistryRoot::currentUser);
  ASSERT_TRUE(plan.registration);
  EXPECT_EQ(plan.registration->values[4].data, u"\"C:\\Apps\\Tool\\uninstall.exe\"");

  const auto environment = installationEnvironment(f.state, u"alice");
  ASSERT_EQ(environment.size(), 4u);
  EXPECT_EQ(environment[0].second, u"C:\\Apps\\Tool\\");
  EXPECT_EQ(environment[2].second, u"alice");
}

TEST(InstallationPlan, OnlyFoldersTheRunMakesAreRecordedAndRefusedNamesWriteNothing) {
  PlanFixture f;
  PayloadEntryInfo cut = entry(std::u16string(kPayloadMaxNameBytes, u'n'));
  cut.nameLength = kPayloadMaxNameBytes + 1;
  // lib\ is met only after a file inside it: the run makes it all the same. data is a folder that
  // stands where the payload has a file: the file cannot be written there and is not recorded.
  f.payload({entry(u"shared\\", 0), entry(u"shared\\a.txt"), entry(u"lib\\x.dll"), entry(u"lib\\", 0), cut,
             entry(u"..\\evil.txt"), entry(u"C:\\b.txt"), entry(u"data")});
  f.foldersBefore = {u"C:\\Apps\\Tool\\shared\\", u"C:\\Apps\\Tool\\data", u"C:\\Programs\\Tools\\App\\"};
  f.facts.startMenuList = "<installpath>\\b.txt\r\nTool\r\n\r\n<installpath>\\a.txt\r\nRead me\r\n\r\n";
  const InstallationPlan plan = f.plan();

  EXPECT_EQ(plan.entries[4].path, u"");
  EXPECT_EQ(extractionQuestion(plan, plan.entries[4]).substr(0, 15), u"Cannot extract\n");
  EXPECT_EQ(plan.entries[5].path, u"");
  EXPECT_EQ(extractionQuestion(plan, plan.entries[5]), u"Cannot extract\nevil.txt");
  EXPECT_EQ(plan.entries[6].path, u"C:\\Apps\\Tool\\b.txt");  // a drive in the name is dropped
  const std::string expected = header(u"Tool", u"", 8) + uninstallFileRecord(u"C:\\Apps\\Tool\\shared\\a.txt") +
                              uninstallFileRecord(u"C:\\Apps\\Tool\\lib\\x.dll") +
                              uninstallFileRecord(u"C:\\Apps\\Tool\\b.txt") +
                              uninstallFolderRecord(u"C:\\Apps\\Tool\\lib\\") + kEntryKeyRecord +
                              // A start menu folder other programs use: only our links are recorded.
                              uninstallFileRecord(u"C:\\Programs\\Tools\\App\\Tool.lnk") +
                              uninstallFileRecord(u"C:\\Programs\\Tools\\App\\Read me.lnk");
  EXPECT_EQ(logOf(plan), expected);
}

TEST(InstallationPlan, AReinstallClaimsTheFoldersOfItsEarlierLogOnlyWhenTheEntryVouchesForIt) {
  // copied: a log the entry vouches for, but written for another folder and put here.
  enum class Stored { matching, other, none, copied };
  for (Stored stored : {Stored::matching, Stored::other, Stored::none, Stored::copied}) {
    SCOPED_TRACE(static_cast<int>(stored));
    PlanFixture f;
    const std::u16string startMenu = u"C:\\Programs\\Tools\\App\\";
    const std::string records = uninstallFolderRecord(u"C:\\Apps\\Tool\\lib\\") + uninstallFolderRecord(startMenu) +
                                uninstallFileRecord(u"C:\\Apps\\Tool\\old.txt");
    f.facts.earlierLog = (stored == Stored::copied ? uninstallLogHeaderBytes({u"Tool", u"1.0", u"", u"C:\\Elsewhere\\", 2})
                                                   : header(u"Tool", u"", 2)) +
                         records;
    f.facts.earlierLogDigest = u"digest";
    if (stored != Stored::none && stored != Stored::other) f.facts.storedLogDigest = u"digest";
    if (stored == Stored::other) f.facts.storedLogDigest = u"digest of the log as it was closed";
    f.payload({entry(u"lib\\", 0), entry(u"shared\\", 0), entry(u"a.txt")});
    f.foldersBefore = {u"C:\\Apps\\Tool\\lib\\", u"C:\\Apps\\Tool\\shared\\", startMenu};
    f.facts.startMenuList = "<installpath>\\a.txt\r\nTool\r\n\r\n";
    const InstallationPlan plan = f.plan();
    const bool claimed = stored == Stored::matching;
    EXPECT_EQ(plan.entries[0].folderRecord + plan.entries[1].folderRecord,
              claimed ? uninstallFolderRecord(u"C:\\Apps\\Tool\\lib\\") : "");
    EXPECT_EQ(plan.startMenuRecords,
              claimed ? uninstallFolderRecord(startMenu) : uninstallFileRecord(startMenu + u"Tool.lnk"));
    // Only a vouched log of this folder is carried over: what 1.0 wrote and this run does not.
    const std::string own = uninstallFileRecord(u"C:\\Apps\\Tool\\a.txt");
    EXPECT_EQ(logOf(plan), claimed ? header(u"Tool", u"", 3) + own + uninstallFileRecord(u"C:\\Apps\\Tool\\old.txt") +
                                         uninstallFolderRecord(u"C:\\Apps\\Tool\\lib\\") + kEntryKeyRecord +
                                         uninstallFolderRecord(startMenu)
                                   : header(u"Tool", u"", 3) + own + kEntryKeyRecord +
                                         uninstallFileRecord(startMenu + u"Tool.lnk"));
  }
}

// A run that stops half-way (Abort, Cancel) closes its log with the folder records of the entries
// it went through and, from the earlier version, everything it had not yet written again: those
// files are still there, and so is the earlier uninstall entry.
TEST(InstallationPlan, ARunStoppedHalfWayLogsItsFoldersAndKeepsWhatTheEarlierVersionWrote) {
  PlanFixture f;
  f.payload({entry(u"docs\\", 0), entry(u"docs\\a.txt"), entry(u"b.txt"), entry(u"c.txt")});
  f.facts.earlierLog = header(u"Tool", u"", 2) + uninstallFileRecord(u"C:\\Apps\\Tool\\c.txt") +
                       uninstallFileRecord(u"C:\\Apps\\Tool\\gone.txt") + kEntryKeyRecord;
  f.facts.earlierLogDigest = f.facts.storedLogDigest = u"digest";
  f.state.options.StartMenuFolder = 0;
  const InstallationPlan plan = f.plan();
  const std::string docs = uninstallFolderRecord(u"C:\\Apps\\Tool\\docs\\");
  const std::string a = uninstallFileRecord(u"C:\\Apps\\Tool\\docs\\a.txt");
  const std::string b = uninstallFileRecord(u"C:\\Apps\\Tool\\b.txt");
  const std::string c = uninstallFileRecord(u"C:\\Apps\\Tool\\c.txt");
  const std::string gone = uninstallFileRecord(u"C:\\Apps\\Tool\\gone.txt");
  const std::string head = header(u"Tool", u"", 4);
  EXPECT_EQ(logOf(plan, 0), head + c + gone + kEntryKeyRecord);
  EXPECT_EQ(logOf(plan, 1), head + c + gone + docs + kEntryKeyRecord);
  EXPECT_EQ(logOf(plan, 3), head + a + b + c + gone + docs + kEntryKeyRecord);
  EXPECT_EQ(logOf(plan, 4), head + a + b + c + gone + docs + kEntryKeyRecord);
}

TEST(InstallationPlan, WhatTheUninstallerSwitchAndTheNameDecide) {
  PlanFixture f;
  f.payload({entry(u"docs\\", 0), entry(u"a.txt")});
  f.facts.startMenuList = "x\r\nTool\r\n\r\n";
  InstallationPlan plan;
  // Any value but 1 writes no uninstaller, so no uninstall entry may name one.
  for (int value : {0, 2, -1}) {
    f.state.options.Uninstaller = value;
    plan = f.plan();
    EXPECT_FALSE(plan.uninstaller) << value;
    EXPECT_FALSE(plan.registration) << value;
    EXPECT_EQ(logOf(plan), "") << value;
    EXPECT_EQ(plan.startMenuLinks.size(), 1u) << value;
  }

  // Without a name no entry is registered and the digest goes nowhere (never onto the Uninstall key
  // itself); the web site needs its own switch.
  f.state.options.Uninstaller = 1;
  f.state.options.Appname = u"";
  f.state.options.Website = u"https://example.test";
  f.state.options.Uninstaller_VW = 1;
  f.state.options.StartMenuFolder = 0;
  f.payload({entry(u"a.txt")});
  plan = f.plan();
  EXPECT_FALSE(plan.registration);
  ASSERT_TRUE(plan.uninstaller);
  EXPECT_TRUE(plan.uninstaller->digestKey.empty());
  EXPECT_EQ(logOf(plan), header(u"", u"https://example.test", 1) + uninstallFileRecord(u"C:\\Apps\\Tool\\a.txt"));
}

TEST(InstallationPlan, StartMenuPlanNeverRecordsTheBaseItself) {
  struct Case {
    const char16_t* text;
    const char16_t* folder;
    const char16_t* recorded;
  };
  const Case cases[] = {
      {u"Tools\\App", u"P\\Tools\\App\\", u"P\\Tools\\App\\"},
      {u"Tools\\App\\", u"P\\Tools\\App\\", u"P\\Tools\\App\\"},
      {u"", u"P\\", u""},
      {u"\\", u"P\\\\", u""},
      {u".", u"P\\.\\", u""},
      {u" \\", u"P\\ \\", u""},
      {u"..\\..", u"P\\..\\..\\", u""},
      {u"C:\\Windows", u"P\\C:\\Windows\\", u""},
  };
  for (const Case& c : cases) {
    const StartMenuPlan plan = startMenuPlan(u"P\\", c.text);
    EXPECT_EQ(plan.folder, c.folder);
    EXPECT_EQ(plan.recordedFolder, c.recorded);
  }
}

TEST(InstallationPlan, ShortcutWorkingFolders) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"C:\\App\\tool.exe", u"C:\\App\\"},
      {u"\"C:\\App\\tool.exe\"", u"C:\\App\\"},
      {u"C:/App/tool.exe", u"C:/App/"},
      {u"C:\\App\\tool.exe|C:\\Other\\x", u"C:\\App\\"},
      {u"tool.exe", u""},
      {u"\"", u""},
      {u"", u""},
      {u"|C:\\x\\", u""},
  };
  for (const auto& [target, folder] : cases) EXPECT_EQ(shortcutWorkingFolder(target), folder) << encodeUtf8(target);
}

// Shortcuts are made only for a kind whose script value is 1 and whose box is ticked; a list with
// no record makes and records nothing.
TEST(InstallationPlan, ShortcutsFollowTheScriptValueTheBoxAndTheList) {
  const std::string oneLink = "<installpath>\\tool.exe\r\nTool\r\n\r\n";
  const std::string desktopRecord = uninstallFileRecord(u"C:\\Desktop\\Tool.lnk");
  const std::string startMenuRecord = uninstallFolderRecord(u"C:\\Programs\\Tools\\App\\");
  struct Row {
    const char* name;
    std::int32_t desktopicon;
    bool desktopBox;
    std::string desktopList;
    std::int32_t startMenuFolder;
    bool startMenuBox;
    std::size_t desktopLinks;
    std::string desktopRecords;
    std::size_t startMenuLinks;
    std::u16string startMenuFolderMade;
    std::string startMenuRecords;
  };
  const Row rows[] = {
      {"both kinds on and ticked", 1, true, oneLink, 1, true, 1, desktopRecord, 1, u"C:\\Programs\\Tools\\App\\",
       startMenuRecord},
      {"value 2 with ticked boxes makes neither kind", 2, true, oneLink, 2, true, 0, "", 0, u"", ""},
      {"an empty Desktop.dat with the box ticked", 1, true, "", 1, true, 0, "", 1,
       u"C:\\Programs\\Tools\\App\\", startMenuRecord},
      {"Desktopicon 1 with the box cleared", 1, false, oneLink, 1, false, 0, "", 0, u"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    PlanFixture f;
    f.payload({entry(u"tool.exe")});
    f.state.options.Desktopicon = row.desktopicon;
    f.state.options.StartMenuFolder = row.startMenuFolder;
    f.state.choices.desktopIcon = row.desktopBox;
    f.state.choices.startMenuFolder = row.startMenuBox;
    f.facts.desktopList = row.desktopList;
    f.facts.startMenuList = oneLink;
    const InstallationPlan plan = f.plan();
    EXPECT_EQ(plan.desktopLinks.size(), row.desktopLinks);
    std::string desktopRecords;
    for (const PlannedLink& link : plan.desktopLinks) desktopRecords += link.record;
    EXPECT_EQ(desktopRecords, row.desktopRecords);
    EXPECT_EQ(plan.startMenuLinks.size(), row.startMenuLinks);
    EXPECT_EQ(plan.startMenuFolder, row.startMenuFolderMade);
    EXPECT_EQ(plan.startMenuRecords, row.startMenuRecords);
  }
}

}  // namespace
}  // namespace averlune
