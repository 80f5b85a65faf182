#include "uninstaller/uninstall_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "uninstaller/uninstall_test_support.h"

namespace averlune {
namespace {

using uninstalltest::Entry;
using uninstalltest::FakeMachine;

const std::u16string kApp = u"C:\\Apps\\Tool\\";
const std::u16string kUninstaller = kApp + u"uninstall.exe";

// The whole sequence against a fake machine; every box, window step and batch lands in `events`.
struct RunFixture {
  FakeMachine machine;
  bool haveLanguageCopy = true;
  std::string languageCopy =
      "[Uninstall]\r\nBM_T = Uninstall\r\nBM = Remove <appname>?\r\nHeader = Status\r\n"
      "Header_b = Wait for <appname>.\r\nUninstalling = Uninstalling\r\nBtn_cancel = Cancel\r\n"
      "ExitUninstall_T = Exit\r\nExitUninstall = Exit now?\r\nSuccess_T = Uninstall\r\n"
      "Success = <appname> is gone!\r\nIncomplete = Not all of <appname> went.\r\nItemsLeft = Left (<count>):\r\n"
      "PassedOver = Passed over (<count>).\r\n";
  bool haveLog = true;
  std::string log;
  bool answerYes = true;
  bool canEnterOwnFolder = true;
  std::u16string ownFolder;  // where the uninstaller lies: the header's folder unless a test says otherwise
  bool linkOnOwnPath = false;
  // The list of installed programs: the setup's entry names the uninstaller, quoted.
  std::vector<UninstallEntryText> entries = {{u"Other Product", u"\"C:\\Other\\uninstall.exe\""},
                                             {u"Tool", u"\"" + kUninstaller + u"\""}};
  // The entries' digests by entry and value name: the setup's entry holds the log's own digest and
  // none of the language copy unless a test says otherwise.
  std::map<std::pair<std::u16string, std::u16string>, std::u16string> digests;
  bool digestComputable = true;
  std::vector<std::string> events;
  bool keepLog = false;             // /LOG= given
  std::vector<std::string> noted;  // its lines
  UninstallWindowContent windowContent;
  std::vector<std::uint32_t> progress;
  std::u16string message;

  explicit RunFixture(const std::u16string& webSite = u"", const std::u16string& appFolder = kApp) {
    UninstallLogHeader header;
    header.appName = u"Tool";
    header.version = u"1.0";
    header.webSite = webSite;
    header.appFolder = appFolder;
    header.entryCount = 3;
    ownFolder = appFolder;
    log = uninstallLogHeaderBytes(header) + uninstallFileRecord(kApp + u"a.txt") + uninstallFileRecord(kApp + u"b.txt") +
          uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", std::u16string(kUninstallKeyBase) + u"Tool");
    machine.add(kApp, Entry::folder);
    machine.add(kApp + u"a.txt", Entry::file);
    machine.add(kApp + u"b.txt", Entry::file);
    setLogDigest(u"Tool", log);
  }

  void setLogDigest(const std::u16string& entry, const std::string& bytes) {
    digests[{entry, kLogDigestValueName}] = fakeDigest(bytes);
  }

  // Stands in for SHA-256: any change of the bytes changes it.
  static std::u16string fakeDigest(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    std::u16string text;
    for (int shift = 60; shift >= 0; shift -= 4) text += u"0123456789abcdef"[(hash >> shift) & 15];
    return text;
  }

  UninstallSystem system() {
    UninstallSystem s;
    s.enterOwnFolder = [this] {
      events.push_back("enter own folder");
      return canEnterOwnFolder;
    };
    s.readLanguageCopy = [this](std::string& bytes) {
      if (haveLanguageCopy) bytes = languageCopy;
      return haveLanguageCopy;
    };
    s.openLog = [this](LineListFile& file) {
      if (haveLog) openBytes(file, log);
      return haveLog;
    };
    s.deleteLogAndLanguageCopy = [this] { events.push_back("delete log and language copy"); };
    s.ownFolder = ownFolder;
    s.ownFile = ownFolder + u"uninstall.exe";
    s.holdFolderWithoutLinks = [this](const std::u16string& folder) {
      events.push_back("hold " + encodeUtf8(folder));
      return !linkOnOwnPath;
    };
    s.protectedFolders = {{u"C:\\Windows\\", FolderGuard::inside}};
    s.desktopFolders = {u"C:\\Users\\Ann\\Desktop\\"};
    s.removal = machine.system();
    s.fileDigest = [this](const std::string& bytes) { return digestComputable ? fakeDigest(bytes) : std::u16string(); };
    s.uninstallEntries = [this] { return entries; };
    s.storedDigest = [this](const std::u16string& entry, const std::u16string& value) {
      const auto found = digests.find({entry, value});
      return found == digests.end() ? std::nullopt : std::optional<std::u16string>(found->second);
    };
    s.forgetDigests = [this](const std::u16string& entry) { events.push_back("forget digest " + encodeUtf8(entry)); };
    s.showError = [this](const std::u16string& title, const std::u16string& text) {
      events.push_back("error " + encodeUtf8(title) + " / " + encodeUtf8(text));
    };
    s.askYesNo = [this](const std::u16string& title, const std::u16string& text) {
      events.push_back("ask " + encodeUtf8(title) + " / " + encodeUtf8(text));
      return answerYes;
    };
    s.showMessage = [this](const std::u16string& title, const std::u16string& text) {
      events.push_back("message " + encodeUtf8(title));
      message = text;
    };
    s.runWithWindow = [this](const UninstallWindowContent& content, const RemovalWork& work) {
      events.push_back("window");
      windowContent = content;
      return work([this](std::uint32_t removed) { progress.push_back(removed); });
    };
    s.hideWindow = [this] { events.push_back("hide"); };
    s.openWebAddress = [this](const std::u16string& address) { events.push_back("open " + encodeUtf8(address)); };
    s.startSelfDeletion = [this](const std::u16string& folder, const std::vector<std::u16string>& deletedAtRestart) {
      events.push_back("batch " + encodeUtf8(folder));
      for (const std::u16string& path : deletedAtRestart) events.push_back("after restart " + encodeUtf8(path));
    };
    if (keepLog) s.note = [this](const std::u16string& line) { noted.push_back(encodeUtf8(line)); };
    return s;
  }
};

using Events = std::vector<std::string>;

TEST(UninstallRun, YesRemovesWithTheWindowUpThenTellsOpensTheWebSiteAndStartsTheBatch) {
  RunFixture run(u"https://example.org/tool");
  EXPECT_EQ(runUninstallSteps(run.system(), false), ExitCode::success);
  EXPECT_EQ(run.events, (Events{"enter own folder", "hold C:\\Apps\\Tool\\", "ask Uninstall / Remove Tool?", "window",
                                "delete log and language copy", "forget digest Tool", "message Uninstall", "hide",
                                "open https://example.org/tool", "batch C:\\Apps\\Tool\\"}));
  EXPECT_EQ(run.windowContent.title, u"Uninstall Tool");
  EXPECT_EQ(run.windowContent.header, u"Status");
  EXPECT_EQ(run.windowContent.subtitle, u"Wait for Tool.");
  EXPECT_EQ(run.windowContent.status, u"Uninstalling Tool");
  EXPECT_EQ(run.windowContent.cancel, u"Cancel");
  EXPECT_EQ(run.windowContent.exitQuestionTitle, u"Exit");
  EXPECT_EQ(run.windowContent.exitQuestion, u"Exit now?");
  EXPECT_EQ(run.windowContent.progressMaximum, 3u);
  EXPECT_EQ(run.progress, (std::vector<std::uint32_t>{1, 2, 3}));  // the last move is to the entry count
  EXPECT_EQ(run.message, u"Tool is gone!");
  EXPECT_FALSE(run.machine.has(kApp + u"a.txt"));
  EXPECT_EQ(run.machine.registryCalls.size(), 2u);
}

// An upgrade's log carries file records of the version before, which its entry count leaves out:
// the bar still ends with the last record, not before it.
TEST(UninstallRun, TheBarReachesItsEndWithTheLastRecordOfALogThatCarriesMoreThanItsEntryCount) {
  RunFixture run;
  UninstallLogHeader header;
  header.appName = u"Tool";
  header.appFolder = kApp;
  header.entryCount = 1;
  run.log = uninstallLogHeaderBytes(header) + uninstallFileRecord(kApp + u"a.txt") +
            uninstallFileRecord(kApp + u"b.txt") + uninstallFileRecord(kApp + u"old.txt");
  run.machine.add(kApp + u"old.txt", Entry::file);
  run.setLogDigest(u"Tool", run.log);
  EXPECT_EQ(runUninstallSteps(run.system(), false), ExitCode::success);
  EXPECT_EQ(run.windowContent.progressMaximum, 3u);
  EXPECT_EQ(run.progress, (std::vector<std::uint32_t>{1, 2, 3, 3}));
}

TEST(UninstallRun, NoRemovesNothingAndAWebSiteThatIsNoWebAddressIsNeverStarted) {
  RunFixture declined;
  declined.answerYes = false;
  EXPECT_EQ(runUninstallSteps(declined.system(), false), ExitCode::success);
  EXPECT_EQ(declined.events, (Events{"enter own folder", "hold C:\\Apps\\Tool\\", "ask Uninstall / Remove Tool?"}));
  EXPECT_TRUE(declined.machine.has(kApp + u"a.txt"));
  EXPECT_TRUE(declined.machine.registryCalls.empty());

  RunFixture program(u"C:\\Windows\\System32\\cmd.exe /c calc");
  EXPECT_EQ(runUninstallSteps(program.system(), false), ExitCode::success);
  EXPECT_EQ(program.events, (Events{"enter own folder", "hold C:\\Apps\\Tool\\", "ask Uninstall / Remove Tool?", "window",
                                    "delete log and language copy", "forget digest Tool", "message Uninstall", "hide",
                                    "batch C:\\Apps\\Tool\\"}));
}

TEST(UninstallRun, AMissingFileAForeignMarkOrARefusedFolderIsAnErrorAndRemovesNothing) {
  const std::string error = "error Error / Uninstall error!";
  RunFixture noLanguageCopy;
  noLanguageCopy.haveLanguageCopy = false;
  RunFixture noLog;
  noLog.haveLog = false;
  RunFixture foreignMark;
  foreignMark.log[0] = 6;
  RunFixture driveRoot(u"", u"C:\\");
  RunFixture windowsFolder(u"", u"C:\\WINDOWS\\");
  RunFixture elsewhere(u"", u"C:\\Users\\Bob\\Documents\\");  // an edited log naming another folder
  elsewhere.ownFolder = kApp;
  RunFixture sameSpelledOtherwise(u"", u"c:\\apps\\TOOL.\\");
  sameSpelledOtherwise.ownFolder = kApp;
  // The folder it inherited is anybody's: without its own as the current folder it reads nothing.
  RunFixture inherited;
  inherited.canEnterOwnFolder = false;
  // Accepted; its records spell the folder as the setup did, not as this header, so they are passed
  // over, and the exit code says so.
  EXPECT_EQ(runUninstallSteps(sameSpelledOtherwise.system(), true), ExitCode::failed);
  for (RunFixture* run : {&noLanguageCopy, &noLog, &foreignMark, &driveRoot, &windowsFolder, &elsewhere, &inherited}) {
    EXPECT_EQ(runUninstallSteps(run->system(), false), ExitCode::success);  // the box has told the user
    EXPECT_EQ(run->events.back(), error);
    EXPECT_EQ(std::count(run->events.begin(), run->events.end(), "ask Uninstall / Remove Tool?"), 0);
    EXPECT_TRUE(run->machine.removeCalls.empty());
    EXPECT_TRUE(run->machine.registryCalls.empty());
  }
  EXPECT_EQ(inherited.events, (Events{"enter own folder", error}));
  // Silently: no box, the exit code tells; the language copy is not needed.
  for (RunFixture* run : {&noLog, &foreignMark, &driveRoot, &inherited}) {
    run->events.clear();
    EXPECT_EQ(runUninstallSteps(run->system(), true), ExitCode::failed);
    EXPECT_EQ(std::count(run->events.begin(), run->events.end(), error), 0);
  }
  noLanguageCopy.events.clear();
  EXPECT_EQ(runUninstallSteps(noLanguageCopy.system(), true), ExitCode::success);
}

// /LOG= names every item removed and left, with or without /S, and why a log was refused; the
// records passed over are counted, never named.
TEST(UninstallRun, TheAdministratorsLogNamesEveryItemRemovedOrLeftAndWhyALogWasRefused) {
  RunFixture silent;
  silent.keepLog = true;
  silent.machine.add(kApp + u"b.txt", Entry::readOnlyFile);
  silent.log += uninstallFileRecord(u"C:\\Windows\\notepad.exe");
  silent.setLogDigest(u"Tool", silent.log);
  EXPECT_EQ(runUninstallSteps(silent.system(), true), ExitCode::failed);
  EXPECT_EQ(silent.noted, (std::vector<std::string>{"removed: C:\\Apps\\Tool\\a.txt",
                                                    "removed: HKEY_LOCAL_MACHINE\\" + encodeUtf8(kUninstallKeyBase) + "Tool",
                                                    "left: C:\\Apps\\Tool\\b.txt", "records passed over: 1"}));

  RunFixture interactive;
  interactive.keepLog = true;
  EXPECT_EQ(runUninstallSteps(interactive.system(), false), ExitCode::success);
  EXPECT_EQ(interactive.noted.size(), 3u);  // a.txt, b.txt and the entry's key

  RunFixture declined;
  declined.keepLog = true;
  declined.answerYes = false;
  EXPECT_EQ(runUninstallSteps(declined.system(), false), ExitCode::success);
  EXPECT_EQ(declined.noted, std::vector<std::string>{"declined: nothing removed"});

  RunFixture edited;
  edited.keepLog = true;
  edited.log += uninstallFileRecord(kApp + u"c.txt");  // after the digest was kept
  EXPECT_EQ(runUninstallSteps(edited.system(), true), ExitCode::failed);
  EXPECT_EQ(edited.noted,
            std::vector<std::string>{"refused: the uninstall log differs from the one its uninstall entry vouches for"});
  EXPECT_TRUE(edited.machine.has(kApp + u"a.txt"));
}

TEST(UninstallRun, ItemsLeftAreNamedInTheMessageAndMakeSilentRemovalFail) {
  RunFixture interactive;
  interactive.machine.add(kApp + u"b.txt", Entry::readOnlyFile);
  EXPECT_EQ(runUninstallSteps(interactive.system(), false), ExitCode::success);
  EXPECT_EQ(interactive.message, u"Not all of Tool went.\n\nLeft (1):\nC:\\Apps\\Tool\\b.txt");

  RunFixture silent(u"https://example.org/");
  EXPECT_EQ(runUninstallSteps(silent.system(), true), ExitCode::success);
  EXPECT_EQ(silent.events, (Events{"enter own folder", "hold C:\\Apps\\Tool\\", "delete log and language copy", "forget digest Tool",
                                   "batch C:\\Apps\\Tool\\"}));
  EXPECT_FALSE(silent.machine.has(kApp + u"b.txt"));

  RunFixture silentLeft;
  silentLeft.machine.add(kApp + u"b.txt", Entry::readOnlyFile);
  EXPECT_EQ(runUninstallSteps(silentLeft.system(), true), ExitCode::failed);
  EXPECT_EQ(silentLeft.events, (Events{"enter own folder", "hold C:\\Apps\\Tool\\", "delete log and language copy",
                                       "forget digest Tool", "batch C:\\Apps\\Tool\\"}));

  // An uninstall entry that stays (no right to delete it) is left as much as a file is.
  const std::u16string entryKey = std::u16string(kUninstallKeyBase) + u"Tool";
  for (bool silently : {false, true}) {
    RunFixture entryStays;
    entryStays.machine.registryStuck = {"deleteKey HKLM " + encodeUtf8(entryKey)};
    EXPECT_EQ(runUninstallSteps(entryStays.system(), silently), silently ? ExitCode::failed : ExitCode::success);
    if (!silently) {
      EXPECT_EQ(entryStays.message, u"Not all of Tool went.\n\nLeft (1):\nHKEY_LOCAL_MACHINE\\" + entryKey);
    }
  }
}

// A file in use: silently its deletion waits for the restart and the code says so, unless anything
// else stays; with the window it is named as left, for the user to delete.
TEST(UninstallRun, AHeldFileWaitsForTheRestartOnlyInASilentRun) {
  RunFixture silent;
  silent.machine.add(kApp + u"b.txt", Entry::heldFile);
  EXPECT_EQ(runUninstallSteps(silent.system(), true), ExitCode::restartNeeded);
  EXPECT_EQ(silent.events, (Events{"enter own folder", "hold C:\\Apps\\Tool\\", "delete log and language copy",
                                   "forget digest Tool", "batch C:\\Apps\\Tool\\", "after restart C:\\Apps\\Tool\\b.txt"}));

  RunFixture alsoLeft;
  alsoLeft.machine.add(kApp + u"a.txt", Entry::readOnlyFile);
  alsoLeft.machine.add(kApp + u"b.txt", Entry::heldFile);
  EXPECT_EQ(runUninstallSteps(alsoLeft.system(), true), ExitCode::failed);

  RunFixture interactive;
  interactive.machine.add(kApp + u"b.txt", Entry::heldFile);
  EXPECT_EQ(runUninstallSteps(interactive.system(), false), ExitCode::success);
  EXPECT_EQ(interactive.message, u"Not all of Tool went.\n\nLeft (1):\nC:\\Apps\\Tool\\b.txt");
  EXPECT_TRUE(interactive.machine.restartQueue.empty());
}

TEST(UninstallRun, ALogIsTrustedAsFarAsTheDigestInTheUninstallEntry) {
  const std::string value = uninstallValueRecord(u"HKEY_CURRENT_USER", u"Software\\Tool\\", u"Path");
  const std::string error = "error Error / Uninstall error!";
  auto withValue = [&](RunFixture& run) {
    run.log += value;
    run.setLogDigest(u"Tool", run.log);
  };

  // The setup's log, its digest stored in capitals: values go too, then the digest itself.
  RunFixture matching;
  withValue(matching);
  for (char16_t& c : matching.digests[{u"Tool", kLogDigestValueName}]) {
    if (c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  EXPECT_EQ(runUninstallSteps(matching.system(), true), ExitCode::success);
  EXPECT_FALSE(matching.machine.has(kApp + u"a.txt"));
  EXPECT_EQ(matching.machine.registryCalls.back(), "prune HKCU Software\\Tool\\");
  EXPECT_NE(std::find(matching.events.begin(), matching.events.end(), "forget digest Tool"), matching.events.end());

  // An edited log, or one whose digest cannot be computed: refused before the question.
  RunFixture edited;
  withValue(edited);
  edited.log += uninstallFileRecord(u"C:\\Users\\Ann\\Desktop\\Tool.lnk");
  RunFixture noDigest;
  noDigest.digestComputable = false;
  RunFixture linked;  // a link on the way to the uninstaller's own folder
  linked.linkOnOwnPath = true;
  for (RunFixture* run : {&edited, &noDigest, &linked}) {
    EXPECT_EQ(runUninstallSteps(run->system(), false), ExitCode::success);
    EXPECT_EQ(run->events.back(), error);
    EXPECT_EQ(run->events.size(), 3u);  // in its folder, held, then refused
    EXPECT_TRUE(run->machine.removeCalls.empty());
    EXPECT_TRUE(run->machine.registryCalls.empty());
    run->events.clear();
    EXPECT_EQ(runUninstallSteps(run->system(), true), ExitCode::failed);
  }

  // An older setup's entry has no digest: the rest goes, values are named as left.
  RunFixture older;
  withValue(older);
  older.digests.clear();
  EXPECT_EQ(runUninstallSteps(older.system(), false), ExitCode::success);
  EXPECT_EQ(older.message, u"Not all of Tool went.\n\nLeft (1):\nHKEY_CURRENT_USER\\Software\\Tool\\Path");
  EXPECT_FALSE(older.machine.has(kApp + u"a.txt"));
  EXPECT_EQ(older.machine.registryCalls.size(), 2u);  // the entry's key, deleted and pruned
  EXPECT_EQ(std::find(older.events.begin(), older.events.end(), "forget digest Tool"), older.events.end());
}

// The voucher is the entry whose UninstallString names this uninstaller, whatever the header names.
TEST(UninstallRun, TheEntryNamingTheUninstallerVouchesForTheLogWhateverItsHeaderNames) {
  const std::string error = "error Error / Uninstall error!";
  const std::u16string desktopLink = u"C:\\Users\\Ann\\Desktop\\Tool.lnk";
  auto keyRecord = [](const std::u16string& entry) {
    return uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", std::u16string(kUninstallKeyBase) + entry);
  };
  auto withHeaderName = [](RunFixture& run, const std::u16string& appName) {
    UninstallLogHeader header;
    LineListFile log;
    openBytes(log, run.log);
    readUninstallLogHeader(log, header);
    const std::string records = run.log.substr(uninstallLogHeaderBytes(header).size());
    header.appName = appName;
    run.log = uninstallLogHeaderBytes(header) + records;
  };

  // A header naming another product's entry, which holds no digest, does not choose older rules:
  // the setup's own entry still names the uninstaller, and its digest refuses the edited log.
  RunFixture otherProduct;
  withHeaderName(otherProduct, u"Other Product");
  otherProduct.log += keyRecord(u"Other Product") + uninstallFileRecord(desktopLink);
  // A header naming no entry at all, likewise.
  RunFixture noEntry;
  withHeaderName(noEntry, u"Nobody");
  noEntry.log += uninstallFileRecord(desktopLink);
  for (RunFixture* run : {&otherProduct, &noEntry}) {
    run->machine.add(desktopLink, Entry::file);
    EXPECT_EQ(runUninstallSteps(run->system(), true), ExitCode::failed);
    EXPECT_TRUE(run->machine.removeCalls.empty());
    EXPECT_TRUE(run->machine.registryCalls.empty());
  }

  // The key record follows the entry that names the uninstaller (an older, unquoted one here), not
  // the header's name; several entries may name it, the one whose digest matches vouches.
  RunFixture renamed;
  renamed.log += keyRecord(u"Tool 2") + uninstallFileRecord(desktopLink);
  renamed.machine.add(desktopLink, Entry::file);
  renamed.entries = {{u"Tool", u"\"" + kUninstaller + u"\""}, {u"Tool 2", u"c:\\apps\\tool\\UNINSTALL.EXE"}};
  renamed.digests.clear();
  renamed.setLogDigest(u"Tool", "a stale log");
  renamed.setLogDigest(u"Tool 2", renamed.log);
  EXPECT_EQ(runUninstallSteps(renamed.system(), true), ExitCode::failed);  // the header's key is passed over
  EXPECT_FALSE(renamed.machine.has(desktopLink));
  const std::string tool2 = encodeUtf8(std::u16string(kUninstallKeyBase) + u"Tool 2");
  EXPECT_EQ(renamed.machine.registryCalls, (std::vector<std::string>{"deleteKey HKLM " + tool2, "prune HKLM " + tool2}));
  EXPECT_NE(std::find(renamed.events.begin(), renamed.events.end(), "forget digest Tool 2"), renamed.events.end());
  renamed.setLogDigest(u"Tool 2", "another stale log");  // digests there, none matching: refused
  EXPECT_EQ(runUninstallSteps(renamed.system(), true), ExitCode::failed);

  // No entry names the uninstaller: what lies in its folder goes; the link and the value are named
  // as left, the key record is passed over; the message and the exit code say so.
  for (bool silently : {false, true}) {
    RunFixture unregistered;
    unregistered.entries = {{u"Other Product", u"\"C:\\Other\\uninstall.exe\""}};
    unregistered.log += uninstallFileRecord(desktopLink) +
                        uninstallValueRecord(u"HKEY_CURRENT_USER", u"Software\\Tool\\", u"Path");
    unregistered.machine.add(desktopLink, Entry::file);
    EXPECT_EQ(runUninstallSteps(unregistered.system(), silently), silently ? ExitCode::failed : ExitCode::success);
    EXPECT_FALSE(unregistered.machine.has(kApp + u"a.txt"));
    EXPECT_TRUE(unregistered.machine.has(desktopLink));
    EXPECT_TRUE(unregistered.machine.registryCalls.empty());
    EXPECT_EQ(std::count(unregistered.events.begin(), unregistered.events.end(), "forget digest Tool"), 0);
    if (!silently) {
      EXPECT_EQ(unregistered.message, u"Not all of Tool went.\n\nLeft (2):\n" + desktopLink +
                                          u"\nHKEY_CURRENT_USER\\Software\\Tool\\Path\n\nPassed over (1).");
    }
  }
}

// The language copy is read only when it matches the entry's LanguageDigest; an entry without one
// (an older setup's) leaves it unchecked, and silent removal does not read it.
TEST(UninstallRun, TheLanguageCopyIsCheckedAgainstItsDigestBeforeItIsRead) {
  const std::string error = "error Error / Uninstall error!";
  RunFixture matching;
  matching.digests[{u"Tool", kLanguageDigestValueName}] = RunFixture::fakeDigest(matching.languageCopy);
  EXPECT_EQ(runUninstallSteps(matching.system(), false), ExitCode::success);
  EXPECT_EQ(matching.message, u"Tool is gone!");

  RunFixture edited;
  edited.digests[{u"Tool", kLanguageDigestValueName}] = RunFixture::fakeDigest(edited.languageCopy);
  edited.languageCopy += "[Uninstall]\r\nBM = Click Yes to go on\r\n";
  RunFixture unreadable;
  unreadable.digests[{u"Tool", kLanguageDigestValueName}] = u"";
  for (RunFixture* run : {&edited, &unreadable}) {
    EXPECT_EQ(runUninstallSteps(run->system(), false), ExitCode::success);
    EXPECT_EQ(run->events.back(), error);
    EXPECT_TRUE(run->machine.removeCalls.empty());
    run->events.clear();
    EXPECT_EQ(runUninstallSteps(run->system(), true), ExitCode::success);
    EXPECT_FALSE(run->machine.has(kApp + u"a.txt"));
  }
}

}  // namespace
}  // namespace averlune
