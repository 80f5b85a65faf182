#include "uninstaller/uninstall_run.h"

#include <gtest/gtest.h>

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
    s.protectedFolders = {{u"C:\\Windows\\", FolderGuard::inside}};
    s.sharedFolders = {u"C:\\Users\\Ann\\Desktop\\"};
    s.removal = machine.system();
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
  EXPECT_EQ(run.events, (Events{"ask Uninstall / Remove Tool?", "window", "delete log and language copy",
                                "message Uninstall", "hide", "open https://example.org/tool",
                                "batch C:\\Apps\\Tool\\"}));
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
  EXPECT_EQ(declined.events, Events{"ask Uninstall / Remove Tool?"});
  EXPECT_TRUE(declined.machine.has(kApp + u"a.txt"));
  EXPECT_TRUE(declined.machine.registryCalls.empty());

  RunFixture program(u"C:\\Windows\\System32\\cmd.exe /c calc");
  EXPECT_EQ(runUninstallSteps(program.system(), false), kUninstallDone);
  EXPECT_EQ(program.events, (Events{"ask Uninstall / Remove Tool?", "window", "delete log and language copy",
                                    "message Uninstall", "hide", "batch C:\\Apps\\Tool\\"}));
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
    EXPECT_EQ(runUninstallSteps(run->system(), false), kUninstallLogUnusable);
    EXPECT_EQ(run->events, Events{error});
    EXPECT_TRUE(run->machine.removeCalls.empty());
    EXPECT_TRUE(run->machine.registryCalls.empty());
  }
  // Silently: the same code, no box; the language copy is not needed.
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
  EXPECT_EQ(silent.events, (Events{"delete log and language copy", "batch C:\\Apps\\Tool\\"}));
  EXPECT_FALSE(silent.machine.has(kApp + u"b.txt"));

  RunFixture silentLeft;
  silentLeft.machine.add(kApp + u"b.txt", Entry::readOnlyFile);
  EXPECT_EQ(runUninstallSteps(silentLeft.system(), true), kUninstallItemsLeft);
  EXPECT_EQ(silentLeft.events, (Events{"delete log and language copy", "batch C:\\Apps\\Tool\\"}));
}

}  // namespace
}  // namespace averlune
