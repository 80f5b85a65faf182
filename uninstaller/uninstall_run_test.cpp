#include "uninstaller/uninstall_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "uninstaller/uninstall_test_support.h"

namespace averlune {
namespace {

using uninstalltest::Entry;
using uninstalltest::FakeMachine;

const std::u16string kApp = u"C:\\Apps\\Tool\\";

// The whole sequence against a fake machine; every box, window step and batch lands in `events`.
struct RunFixture {
  FakeMachine machine;
  bool haveLanguageCopy = true;
  std::string languageCopy =
      "[Uninstall]\r\nBM_T = Uninstall\r\nBM = Remove <appname>?\r\nHeader = Status\r\n"
      "Header_b = Wait for <appname>.\r\nUninstalling = Uninstalling\r\nBtn_cancel = Cancel\r\n"
      "ExitUninstall_T = Exit\r\nExitUninstall = Exit now?\r\nSuccess_T = Uninstall\r\n"
      "Success = <appname> is gone!\r\nItemsLeft = Left (<count>):\r\n";
  bool haveLog = true;
  std::string log;
  bool answerYes = true;
  std::u16string ownFolder;  // where the uninstaller lies: the header's folder unless a test says otherwise
  bool linkOnOwnPath = false;
  // The entry's LogDigest: the log's own digest (as the setup stores it) unless a test says otherwise.
  std::optional<std::u16string> storedDigest;
  bool digestComputable = true;
  std::vector<std::string> events;
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
    storedDigest = fakeDigest(log);
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
    s.openLanguageCopy = [this](KeyValueFile& file) {
      if (haveLanguageCopy) openBytes(file, languageCopy);
      return haveLanguageCopy;
    };
    s.openLog = [this](LineListFile& file) {
      if (haveLog) openBytes(file, log);
      return haveLog;
    };
    s.deleteLogAndLanguageCopy = [this] { events.push_back("delete log and language copy"); };
    s.ownFolder = ownFolder;
    s.holdFolderWithoutLinks = [this](const std::u16string& folder) {
      events.push_back("hold " + encodeUtf8(folder));
      return !linkOnOwnPath;
    };
    s.protectedFolders = {{u"C:\\Windows\\", FolderGuard::inside}};
    s.desktopFolders = {u"C:\\Users\\Ann\\Desktop\\"};
    s.removal = machine.system();
    s.logDigest = [this](const std::string& bytes) { return digestComputable ? fakeDigest(bytes) : std::u16string(); };
    s.storedLogDigest = [this](const std::u16string& appName) {
      return appName == u"Tool" ? storedDigest : std::nullopt;
    };
    s.forgetLogDigest = [this](const std::u16string& appName) { events.push_back("forget digest " + encodeUtf8(appName)); };
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
    s.writeSelfDeleteBatch = [this](const std::u16string& folder) { events.push_back("batch " + encodeUtf8(folder)); };
    return s;
  }
};

using Events = std::vector<std::string>;

TEST(UninstallRun, YesRemovesWithTheWindowUpThenTellsOpensTheWebSiteAndStartsTheBatch) {
  RunFixture run(u"https://example.org/tool");
  EXPECT_EQ(runUninstallSteps(run.system(), false), kUninstallDone);
  EXPECT_EQ(run.events, (Events{"hold C:\\Apps\\Tool\\", "ask Uninstall / Remove Tool?", "window",
                                "delete log and language copy", "forget digest Tool", "message Uninstall", "hide",
                                "open https://example.org/tool", "batch C:\\Apps\\Tool\\"}));
  EXPECT_EQ(run.windowContent.title, u"Uninstall Tool");
  EXPECT_EQ(run.windowContent.header, u"Status");
  EXPECT_EQ(run.windowContent.subtitle, u"Wait for Tool.");
  EXPECT_EQ(run.windowContent.status, u"Uninstalling Tool");
  EXPECT_EQ(run.windowContent.cancel, u"Cancel");
  EXPECT_EQ(run.windowContent.exitQuestionTitle, u"Exit");
  EXPECT_EQ(run.windowContent.exitQuestion, u"Exit now?");
  EXPECT_EQ(run.windowContent.entryCount, 3u);
  EXPECT_EQ(run.progress, (std::vector<std::uint32_t>{1, 2, 3}));  // the last move is to the entry count
  EXPECT_EQ(run.message, u"Tool is gone!");
  EXPECT_FALSE(run.machine.has(kApp + u"a.txt"));
  EXPECT_EQ(run.machine.registryCalls.size(), 2u);
}

TEST(UninstallRun, NoRemovesNothingAndAWebSiteThatIsNoWebAddressIsNeverStarted) {
  RunFixture declined;
  declined.answerYes = false;
  EXPECT_EQ(runUninstallSteps(declined.system(), false), kUninstallDone);
  EXPECT_EQ(declined.events, (Events{"hold C:\\Apps\\Tool\\", "ask Uninstall / Remove Tool?"}));
  EXPECT_TRUE(declined.machine.has(kApp + u"a.txt"));
  EXPECT_TRUE(declined.machine.registryCalls.empty());

  RunFixture program(u"C:\\Windows\\System32\\cmd.exe /c calc");
  EXPECT_EQ(runUninstallSteps(program.system(), false), kUninstallDone);
  EXPECT_EQ(program.events, (Events{"hold C:\\Apps\\Tool\\", "ask Uninstall / Remove Tool?", "window",
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
  EXPECT_EQ(runUninstallSteps(sameSpelledOtherwise.system(), true), kUninstallDone);
  for (RunFixture* run : {&noLanguageCopy, &noLog, &foreignMark, &driveRoot, &windowsFolder, &elsewhere}) {
    EXPECT_EQ(runUninstallSteps(run->system(), false), kUninstallDone);  // the box has told the user
    EXPECT_EQ(run->events, Events{error});
    EXPECT_TRUE(run->machine.removeCalls.empty());
    EXPECT_TRUE(run->machine.registryCalls.empty());
  }
  // Silently: no box, the exit code tells; the language copy is not needed.
  for (RunFixture* run : {&noLog, &foreignMark, &driveRoot}) {
    run->events.clear();
    EXPECT_EQ(runUninstallSteps(run->system(), true), kUninstallLogUnusable);
    EXPECT_TRUE(run->events.empty());
  }
  noLanguageCopy.events.clear();
  EXPECT_EQ(runUninstallSteps(noLanguageCopy.system(), true), kUninstallDone);
}

TEST(UninstallRun, ItemsLeftAreNamedInTheMessageAndMakeSilentRemovalFail) {
  RunFixture interactive;
  interactive.machine.add(kApp + u"b.txt", Entry::readOnlyFile);
  EXPECT_EQ(runUninstallSteps(interactive.system(), false), kUninstallDone);
  EXPECT_EQ(interactive.message, u"Tool is gone!\n\nLeft (1):\nC:\\Apps\\Tool\\b.txt");

  RunFixture silent(u"https://example.org/");
  EXPECT_EQ(runUninstallSteps(silent.system(), true), kUninstallDone);
  EXPECT_EQ(silent.events, (Events{"hold C:\\Apps\\Tool\\", "delete log and language copy", "forget digest Tool",
                                   "batch C:\\Apps\\Tool\\"}));
  EXPECT_FALSE(silent.machine.has(kApp + u"b.txt"));

  RunFixture silentLeft;
  silentLeft.machine.add(kApp + u"b.txt", Entry::readOnlyFile);
  EXPECT_EQ(runUninstallSteps(silentLeft.system(), true), kUninstallItemsLeft);
  EXPECT_EQ(silentLeft.events, (Events{"hold C:\\Apps\\Tool\\", "delete log and language copy",
                                       "forget digest Tool", "batch C:\\Apps\\Tool\\"}));

  // An uninstall entry that stays (no right to delete it) is left as much as a file is.
  const std::u16string entryKey = std::u16string(kUninstallKeyBase) + u"Tool";
  for (bool silently : {false, true}) {
    RunFixture entryStays;
    entryStays.machine.registryStuck = {"deleteKey HKLM " + encodeUtf8(entryKey)};
    EXPECT_EQ(runUninstallSteps(entryStays.system(), silently), silently ? kUninstallItemsLeft : kUninstallDone);
    if (!silently) {
      EXPECT_EQ(entryStays.message, u"Tool is gone!\n\nLeft (1):\nHKEY_LOCAL_MACHINE\\" + entryKey);
    }
  }
}

TEST(UninstallRun, ALogIsTrustedAsFarAsTheDigestInTheUninstallEntry) {
  const std::string value = uninstallValueRecord(u"HKEY_CURRENT_USER", u"Software\\Tool\\", u"Path");
  const std::string error = "error Error / Uninstall error!";
  auto withValue = [&](RunFixture& run) {
    run.log += value;
    run.storedDigest = RunFixture::fakeDigest(run.log);
  };

  // The setup's log, its digest stored in capitals: values go too, then the digest itself.
  RunFixture matching;
  withValue(matching);
  for (char16_t& c : *matching.storedDigest) {
    if (c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  EXPECT_EQ(runUninstallSteps(matching.system(), true), kUninstallDone);
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
    EXPECT_EQ(runUninstallSteps(run->system(), false), kUninstallDone);
    EXPECT_EQ(run->events.back(), error);
    EXPECT_EQ(run->events.size(), 2u);  // held, then refused
    EXPECT_TRUE(run->machine.removeCalls.empty());
    EXPECT_TRUE(run->machine.registryCalls.empty());
    run->events.clear();
    EXPECT_EQ(runUninstallSteps(run->system(), true), kUninstallLogUnusable);
  }

  // An older setup's entry has no digest: the rest goes, values are named as left.
  RunFixture older;
  withValue(older);
  older.storedDigest.reset();
  EXPECT_EQ(runUninstallSteps(older.system(), false), kUninstallDone);
  EXPECT_EQ(older.message, u"Tool is gone!\n\nLeft (1):\nHKEY_CURRENT_USER\\Software\\Tool\\Path");
  EXPECT_FALSE(older.machine.has(kApp + u"a.txt"));
  EXPECT_EQ(older.machine.registryCalls.size(), 2u);  // the entry's key, deleted and pruned
  EXPECT_EQ(std::find(older.events.begin(), older.events.end(), "forget digest Tool"), older.events.end());
}

}  // namespace
}  // namespace averlune
