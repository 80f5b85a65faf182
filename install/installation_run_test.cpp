#include "install/installation_run.h"

#include <gtest/gtest.h>

#include <deque>

#include "config/uninstall_log.h"
#include "install/payload_test_support.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;
using payloadtest::TestEntry;

// A whole run against recording fakes: every control, box and system call lands in `events` or
// in the recorded state, in order.
struct RunFixture {
  payloadtest::ScratchFolder scratch;
  payloadtest::RecordingFileSystem files;
  SetupState state;
  InstallationTexts texts{u"Extracting", u"Done", u"Extract failed", u"Cannot extract"};
  InstallationSystem system;

  std::vector<std::string> events;
  std::vector<int> progress;
  std::vector<std::u16string> statuses;
  std::deque<ExtractionChoice> answers;
  std::map<std::u16string, std::u16string> environment;
  std::string log;
  std::u16string digestKey;
  std::map<std::u16string, std::u16string> storedDigests;
  bool logOpen = false;
  std::vector<ShortcutLink> links;
  std::vector<RegistryListEntry> registry;
  std::vector<UninstallRegistration> registrations;

  RunFixture() {
    state.workFolder = (scratch.path / "work" / "").u16string();
    fs::create_directories(scratch.path / "work");
    state.options.Appname = u"Tool";
    state.options.Version = u"1.0";
    state.options.Uninstaller = 1;
    state.options.UninstallerFilename = u"uninstall";
    state.options.StartMenuFolder = 1;
    state.options.startMenuBase = u"C:\\Programs\\";
    state.options.desktopBase = u"C:\\Desktop\\";
    state.languageFile = u"C:\\work\\Default.avl";
    state.ownFile = (scratch.path / "setup.exe").u16string();
    state.choices.appFolderText = u"C:\\Apps\\Tool";
    state.choices.startMenuFolderText = u"Tools\\App";
    state.choices.desktopIcon = true;
    state.choices.startMenuFolder = true;
    system.setStatus = [this](const std::u16string& text) { statuses.push_back(text); };
    system.setProgressMaximum = [this](int maximum) { events.push_back("max " + std::to_string(maximum)); };
    system.setProgress = [this](int position) { progress.push_back(position); };
    system.showFinishPage = [this] { events.push_back("finish"); };
    system.showError = [this](const std::u16string& title, const std::u16string& text) {
      events.push_back("error " + encodeUtf8(title) + "/" + encodeUtf8(text));
    };
    system.askAfterFailedExtraction = [this](const std::u16string&, const std::u16string& text) {
      events.push_back("ask " + encodeUtf8(text));
      const ExtractionChoice choice = answers.front();
      answers.pop_front();
      return choice;
    };
    system.endRun = [this](bool remove) { events.push_back(remove ? "end removing" : "end"); };
    system.setEnvironmentVariable = [this](const std::u16string& name, const std::u16string& value) {
      environment[name] = value;
    };
    system.userName = [] { return std::u16string(u"alice"); };
    system.makeFolderPath = [this](const std::u16string& folder) { return files.system().makeFolderPath(folder); };
    system.makeApplicationFolder = system.makeFolderPath;
    system.folderExists = [this](const std::u16string& path) {
      return files.folders.count(path.back() == u'\\' ? path : path + u'\\') > 0;
    };
    system.writeUninstallerImage = [this](const std::u16string& path) { events.push_back("image " + encodeUtf8(path)); };
    system.copyFile = [this](const std::u16string& from, const std::u16string& to) {
      events.push_back("copy " + encodeUtf8(from) + " " + encodeUtf8(to));
    };
    system.createLog = [this](const std::u16string&, const std::string& header, const std::u16string& key) {
      log = header;
      digestKey = key;
      logOpen = true;
      return true;
    };
    system.appendLog = [this](const std::string& record) {
      EXPECT_TRUE(logOpen);
      log += record;
    };
    system.closeLog = [this] {
      events.push_back("close log");
      logOpen = false;
    };
    system.logDigest = [](const std::string& bytes) { return u"digest of " + decodeUtf8(bytes); };
    system.storedLogDigest = [this](const std::u16string& key) { return storedDigests[key]; };
    system.registerUninstaller = [this](const UninstallRegistration& r) { registrations.push_back(r); };
    system.createShortcut = [this](const ShortcutLink& link) { links.push_back(link); };
    system.writeRegistryEntry = [this](const RegistryListEntry& entry) { registry.push_back(entry); };
    system.lookup.environmentVariable = [](const std::u16string&) { return std::u16string(); };
    system.lookup.systemFolder = [] { return std::u16string(); };
    system.lookup.specialFolder = [](int) { return std::u16string(); };
    system.fileSystem = files.system();
  }

  void payload(const std::vector<TestEntry>& entries) {
    payloadtest::writeArchive(scratch.path / "setup.exe", entries, "MZ image", "\x01\x02\x03\x04");
  }
  void config(const std::string& name, const std::string& bytes) {
    std::ofstream(scratch.path / "work" / name, std::ios::binary) << bytes;
  }
  void run() { runInstallationSteps(state, texts, system); }
};

std::string header(const std::string& webSite, std::uint32_t count) {
  std::string bytes("\x07\x00\x00\x00", 4);
  bytes += "Tool\r\n1.0\r\n" + webSite + "\r\nC:\\Apps\\Tool\\\r\n";
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((count >> shift) & 0xFF);
  return bytes;
}

TEST(InstallationRun, InstallsInOrderWithProgressStatusAndLog) {
  RunFixture f;
  f.payload({{"", "", 0x10, 0x5A2D753D, 0},
             {"bin/tool.exe", "MZ"},
             {"docs/", "", 0x10},
             {"gr\x81n.txt", "green"}});
  f.config("Startmenu.dat", "<installpath>\\bin\\tool.exe\r\nTool\r\n\r\n");
  f.config("Desktop.dat", "");
  f.state.options.Desktopicon = 1;
  f.state.options.Registry = 1;
  std::string registryList = "HKEY_LOCAL_MACHINE\r\nSoftware/Acme/Tool\r\nPath\r\n<installpath>\r\n";
  registryList += std::string("\x01\x00\x00\x00", 4);
  registryList += "HKLM\r\nSoftware\\Acme\r\nKeep\r\n$10\r\n" + std::string(4, '\0');
  f.config("Registry.dat", registryList);
  f.run();

  EXPECT_EQ(f.environment[u"AV_INSTALLPATH"], u"C:\\Apps\\Tool\\");
  EXPECT_EQ(f.environment[u"AV_USERNAME"], u"alice");
  EXPECT_EQ(f.environment.count(u"AV_LANGUAGE"), 1u);
  EXPECT_EQ(f.environment.count(u"AV_ORGANISATION"), 1u);
  EXPECT_EQ(f.events, (std::vector<std::string>{"image C:\\Apps\\Tool\\uninstall.exe",
                                                "copy C:\\work\\Default.avl C:\\Apps\\Tool\\uninstall_l.avl",
                                                "max 6", "close log", "finish"}));
  EXPECT_EQ(f.progress, (std::vector<int>{1, 2, 3, 4, 4, 5, 6, 0}));
  ASSERT_EQ(f.statuses.size(), 5u);
  EXPECT_EQ(f.statuses[1], u"Extracting\nC:\\Apps\\Tool\\bin\\tool.exe");
  EXPECT_EQ(f.statuses[4], u"Done");
  EXPECT_FALSE(f.logOpen);
  EXPECT_EQ(f.digestKey, u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool");

  std::string expected = header("", 4);
  expected += "#DF\r\nC:\\Apps\\Tool\\bin\\tool.exe\r\n";
  expected += "#DF\r\nC:\\Apps\\Tool\\gr\xC3\xBCn.txt\r\n";
  expected += "#DD\r\nC:\\Apps\\Tool\\docs\\\r\n";
  expected += "#DRK\r\nHKEY_LOCAL_MACHINE\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool\r\n";
  expected += "#DD\r\nC:\\Programs\\Tools\\App\\\r\n";
  expected += "#DRV\r\nHKEY_LOCAL_MACHINE\r\nSoftware\\Acme\\Tool\\\r\nPath\r\n";
  EXPECT_EQ(f.log, expected);

  ASSERT_EQ(f.links.size(), 1u);
  EXPECT_EQ(f.links[0].target, u"C:\\Apps\\Tool\\bin\\tool.exe");
  EXPECT_EQ(f.links[0].linkPath, u"C:\\Programs\\Tools\\App\\Tool.lnk");
  EXPECT_EQ(f.links[0].workingFolder, u"C:\\Apps\\Tool\\bin\\");
  ASSERT_EQ(f.registry.size(), 2u);
  EXPECT_EQ(f.registry[0].root, RegistryRoot::localMachine);
  EXPECT_EQ(f.registry[0].data, u"C:\\Apps\\Tool");
  EXPECT_EQ(f.registry[1].root, RegistryRoot::currentUser);
  ASSERT_EQ(f.registrations.size(), 1u);
  EXPECT_EQ(f.registrations[0].values[4].data, u"\"C:\\Apps\\Tool\\uninstall.exe\"");
  EXPECT_EQ(f.registrations[0].estimatedSize, 1u);  // "MZ" and "green": 7 bytes
  EXPECT_EQ(f.state.installationList, std::vector<std::u16string>{u"C:\\Apps\\Tool\\docs\\"});
}

TEST(InstallationRun, RetryIgnoreAndAbortAfterAFailedEntry) {
  for (ExtractionChoice last : {ExtractionChoice::ignore, ExtractionChoice::abort}) {
    SCOPED_TRACE(last == ExtractionChoice::ignore ? "ignore" : "abort");
    RunFixture f;
    f.payload({{"a.txt", "a"}, {"sub/locked.txt", "b"}, {"../evil.txt", "c"}, {"c.txt", "c"}});
    f.files.refusedFiles.insert(u"C:\\Apps\\Tool\\sub\\locked.txt");
    f.answers = {ExtractionChoice::retry, last, ExtractionChoice::ignore};
    f.run();
    std::vector<std::string> expected{"image C:\\Apps\\Tool\\uninstall.exe",
                                      "copy C:\\work\\Default.avl C:\\Apps\\Tool\\uninstall_l.avl", "max 6",
                                      "ask Cannot extract\nlocked.txt", "ask Cannot extract\nlocked.txt"};
    if (last == ExtractionChoice::abort) {
      expected.push_back("close log");  // with its digest, before the run ends
      expected.push_back("end removing");
    } else {
      expected.push_back("ask Cannot extract\nevil.txt");
      expected.push_back("close log");
      expected.push_back("finish");
    }
    EXPECT_EQ(f.events, expected);
    // Retry showed the same entry again.
    ASSERT_GE(f.statuses.size(), 3u);
    EXPECT_EQ(f.statuses[1], f.statuses[2]);
    std::string log = header("", 4) + "#DF\r\nC:\\Apps\\Tool\\a.txt\r\n";
    if (last == ExtractionChoice::ignore) {
      // The ignored entry is recorded; the hostile one is neither written nor recorded.
      log += "#DF\r\nC:\\Apps\\Tool\\sub\\locked.txt\r\n#DF\r\nC:\\Apps\\Tool\\c.txt\r\n";
      log += "#DRK\r\nHKEY_LOCAL_MACHINE\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool\r\n";
      EXPECT_EQ(f.progress, (std::vector<int>{1, 2, 3, 4, 4, 5, 6, 0}));
    } else {
      EXPECT_EQ(f.progress, std::vector<int>{1});
    }
    EXPECT_EQ(f.log, log);
    for (const auto& [path, file] : f.files.files) EXPECT_EQ(path.find(u".."), std::u16string::npos);
  }
}

TEST(InstallationRun, TheLogNamesOnlyWhatTheRunMadeFoldersThatWereThereAndCutNamesStayUnrecorded) {
  RunFixture f;
  const std::string longName(kPayloadMaxNameBytes + 1, 'n');
  // lib/ is met only after a file inside it was written: the run made it all the same.
  f.payload({{"shared/", "", 0x10}, {"shared/a.txt", "a"}, {"lib/x.dll", "x"}, {"lib/", "", 0x10},
             {longName, "cut"}, {"b.txt", "b"}});
  f.files.folders.insert(u"C:\\Apps\\Tool\\shared\\");  // a folder the user had made before
  f.files.folders.insert(u"C:\\Programs\\Tools\\App\\");  // a start menu folder other programs use
  f.config("Startmenu.dat", "<installpath>\\b.txt\r\nTool\r\n\r\n<installpath>\\a.txt\r\nRead me\r\n\r\n");
  f.answers = {ExtractionChoice::ignore};  // for the name cut for its length
  f.run();

  std::string expected = header("", 6);
  expected += "#DF\r\nC:\\Apps\\Tool\\shared\\a.txt\r\n";
  expected += "#DF\r\nC:\\Apps\\Tool\\lib\\x.dll\r\n";
  expected += "#DF\r\nC:\\Apps\\Tool\\b.txt\r\n";
  expected += "#DD\r\nC:\\Apps\\Tool\\lib\\\r\n";
  expected += "#DRK\r\nHKEY_LOCAL_MACHINE\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool\r\n";
  expected += "#DF\r\nC:\\Programs\\Tools\\App\\Tool.lnk\r\n";
  expected += "#DF\r\nC:\\Programs\\Tools\\App\\Read me.lnk\r\n";
  EXPECT_EQ(f.log, expected);
  EXPECT_EQ(f.state.installationList, std::vector<std::u16string>{u"C:\\Apps\\Tool\\lib\\"});
  EXPECT_EQ(f.links.size(), 2u);
}

TEST(InstallationRun, AReinstallRecordsTheFoldersItsEarlierRunMadeOnlyWhenItsLogIsTheOneTheEntryVouchesFor) {
  // The earlier log's folders count when its digest is the one in this application's uninstall
  // entry; a log planted in the folder, one edited since, or one without a digest stored (an
  // older setup) leaves the folders that were there unclaimed.
  enum class Stored { matching, other, none };
  for (Stored stored : {Stored::matching, Stored::other, Stored::none}) {
    SCOPED_TRACE(static_cast<int>(stored));
    RunFixture f;
    // A real folder for the earlier log. The run joins "\" to the field's text: under Windows that
    // is the folder "app", on the host its files are named "app\..." inside the scratch folder.
    f.state.choices.appFolderText = (f.scratch.path / "app").u16string();
    fs::create_directories(f.scratch.path / "app");
    const std::u16string app = f.state.choices.appFolderText + u"\\";
    const std::u16string startMenu = u"C:\\Programs\\Tools\\App\\";
    std::string earlier = header("", 2);
    earlier += uninstallFolderRecord(app + u"lib\\") + uninstallFolderRecord(startMenu);
    std::ofstream(fs::path(app + kUninstallLogName), std::ios::binary) << earlier;
    const std::u16string key = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";
    if (stored == Stored::matching) f.storedDigests[key] = f.system.logDigest(earlier);
    if (stored == Stored::other) f.storedDigests[key] = u"digest of the log as it was closed";
    f.payload({{"lib/", "", 0x10}, {"shared/", "", 0x10}, {"a.txt", "a"}});
    f.files.folders.insert(app + u"lib\\");
    f.files.folders.insert(app + u"shared\\");
    f.files.folders.insert(startMenu);
    f.config("Startmenu.dat", "<installpath>\\a.txt\r\nTool\r\n\r\n");
    f.run();
    if (stored == Stored::matching) {
      EXPECT_EQ(f.state.installationList, std::vector<std::u16string>{app + u"lib\\"});
      EXPECT_NE(f.log.find(uninstallFolderRecord(startMenu)), std::string::npos);
      EXPECT_EQ(f.log.find(uninstallFileRecord(startMenu + u"Tool.lnk")), std::string::npos);
    } else {
      EXPECT_TRUE(f.state.installationList.empty());
      EXPECT_EQ(f.log.find(uninstallFolderRecord(startMenu)), std::string::npos);
      EXPECT_NE(f.log.find(uninstallFileRecord(startMenu + u"Tool.lnk")), std::string::npos);
    }
  }
}

TEST(InstallationRun, FatalFailuresEndTheRunBeforeAnythingIsWritten) {
  {
    RunFixture f;  // no archive in the setup's file
    f.run();
    EXPECT_EQ(f.events, (std::vector<std::string>{"error Extract failed/Cannot extract", "end removing"}));
  }
  {
    RunFixture f;
    f.payload({{"a.txt", "a"}});
    f.files.refusedFolders.insert(u"C:\\Apps\\Tool\\");
    f.run();
    EXPECT_EQ(f.events, (std::vector<std::string>{"error Error/Setup Error!", "end removing"}));
    EXPECT_TRUE(f.files.files.empty());
  }
}

TEST(InstallationRun, WithoutUninstallerNothingIsRegisteredOrLogged) {
  RunFixture f;
  f.state.options.Uninstaller = 0;
  f.payload({{"docs/", "", 0x10}, {"a.txt", "a"}});
  f.config("Startmenu.dat", "x\r\nTool\r\n\r\n");
  f.run();
  EXPECT_EQ(f.events, (std::vector<std::string>{"max 4", "finish"}));
  EXPECT_TRUE(f.log.empty());
  EXPECT_TRUE(f.registrations.empty());
  EXPECT_TRUE(f.state.installationList.empty());
  EXPECT_EQ(f.links.size(), 1u);
}

TEST(InstallationRun, RegistrationNeedsANameAndTheWebSiteNeedsItsSwitch) {
  RunFixture f;
  f.state.options.Appname = u"";
  f.state.options.Website = u"https://example.test";
  f.state.options.Uninstaller_VW = 1;
  f.state.options.StartMenuFolder = 0;
  f.payload({{"a.txt", "a"}});
  f.run();
  EXPECT_TRUE(f.registrations.empty());
  EXPECT_TRUE(f.digestKey.empty());  // the digest must not land on the Uninstall key itself
  std::string expected("\x07\x00\x00\x00", 4);
  expected += "\r\n1.0\r\nhttps://example.test\r\nC:\\Apps\\Tool\\\r\n" + std::string("\x01\x00\x00\x00", 4);
  expected += "#DF\r\nC:\\Apps\\Tool\\a.txt\r\n";
  EXPECT_EQ(f.log, expected);
}

TEST(InstallationRun, StartMenuPlanNeverRecordsTheBaseItself) {
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

TEST(InstallationRun, ShortcutWorkingFolders) {
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

}  // namespace
}  // namespace averlune
