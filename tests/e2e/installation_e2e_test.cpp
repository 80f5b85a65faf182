// Installations under Wine, driven through the real wizard: the sample setup, start menu links in
// a typed folder, the registry list and a setup without uninstaller. Each test removes what it installed (files, links, registry
// keys) before and after it runs.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <filesystem>

#include "config/fixed_texts.h"
#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/sample_setup_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;
using I = ControlId;

// ---------------------------------------------------------------------------------------------
// The sample

TEST(Installation, SampleInstallsFilesLogUninstallEntryAndStartMenuLink) {
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  const std::wstring startMenuFolder = programs + kSampleApp + L"\\";
  // <programfiles>: the program files folder as this test sees it, built for the same Windows.
  const std::wstring appFolder = shellFolder(CSIDL_PROGRAM_FILES) + kSampleApp + L"\\";
  Cleanup cleanup({[&] { removeTree(appFolder); },
                   [&] { removeTree(startMenuFolder); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kSampleApp)); }});

  const std::wstring setup = buildSampleSetup(L"install-sample");
  ASSERT_FALSE(setup.empty());
  WizardSession w(setup, kSampleApp + L" Setup", L"install-sample");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.nextToInstallingPage([&](ControlId page) {
    if (page == I::appFolderPanel) {
      EXPECT_EQ(w.text(I::appFolderField), appFolder);
      // A drive root is refused, and the page stays: the uninstaller could never remove it again.
      SetWindowTextW(w.control(I::appFolderField), L"C:\\");
      ASSERT_TRUE(w.press(I::nextButton));
      const auto refusal = waitForMessageBox(w.processId(), 10000);
      ASSERT_TRUE(refusal);
      const std::u16string refused = kRefusedAppFolderText;
      EXPECT_EQ(refusal->text, std::wstring(refused.begin(), refused.end()));
      ASSERT_TRUE(pressMessageBoxButton(*refusal, L"OK"));
      for (int waited = 0; waited < 10000 && IsWindow(refusal->handle); waited += 50) Sleep(50);
      EXPECT_EQ(w.currentPage(), I::appFolderPanel);
      SetWindowTextW(w.control(I::appFolderField), appFolder.c_str());
    }
    if (page == I::startMenuPanel) {
      EXPECT_EQ(w.text(I::startMenuFolderField), kSampleApp + L"\\");
    }
  }));
  ASSERT_TRUE(w.watchInstallation(nullptr));
  EXPECT_TRUE(w.boxes.empty());

  // Progress and status as the installing page showed them: the bar runs to 7 entries + 2, each
  // status names the entry being extracted, in the archive's order, and then "Configuring..".
  // The page's own text until the run sets the first status, then the empty-named folder entry.
  const std::wstring preparing = L"Preparing to install..";
  std::vector<std::wstring> statuses = {preparing, L"Installing..\n" + appFolder};
  for (const SampleFile& file : kSampleFiles) statuses.push_back(L"Installing..\n" + appFolder + file.name);
  statuses.push_back(L"Configuring..");
  ASSERT_FALSE(w.samples.empty());
  std::size_t statusIndex = 0;
  int lastPosition = 0;
  for (std::size_t i = 0; i + 1 < w.samples.size(); ++i) {
    const ProgressSample& s = w.samples[i];
    std::size_t found = statusIndex;
    while (found < statuses.size() && statuses[found] != s.status) ++found;
    ASSERT_LT(found, statuses.size()) << "status out of order or unknown: " << fs::path(s.status).string();
    statusIndex = found;
    // The bar counts the entries done: at least those before the one named, all 7 once done.
    if (found > 0) {
      EXPECT_GE(s.position, static_cast<int>(std::min<std::size_t>(found - 1, 7)));
    }
    EXPECT_GE(s.position, lastPosition);
    lastPosition = s.position;
    if (s.status != preparing) {
      EXPECT_EQ(s.maximum, 9);  // set before the first status
    }
  }
  const ProgressSample& last = w.samples.back();  // on the finish page
  EXPECT_EQ(last.status, L"Configuring..");
  EXPECT_EQ(last.position, 0);
  EXPECT_EQ(last.maximum, 9);
  EXPECT_EQ(w.text(I::nextButton), L"Finish");

  // The six files with their content, times and attributes.
  const fs::path source = fs::path(buildFolder()) / L"e2e-scratch" / L"install-sample" / L"app";
  for (const SampleFile& file : kSampleFiles) {
    SCOPED_TRACE(fs::path(file.name).string());
    const FileFacts facts = fileFacts(appFolder + file.name);
    ASSERT_TRUE(facts.exists);
    EXPECT_EQ(facts.attributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    const SYSTEMTIME& t = facts.lastWriteLocal;
    EXPECT_EQ(t.wYear, file.stamp.wYear);
    EXPECT_EQ(t.wMonth, file.stamp.wMonth);
    EXPECT_EQ(t.wDay, file.stamp.wDay);
    EXPECT_EQ(t.wHour, file.stamp.wHour);
    EXPECT_EQ(t.wMinute, file.stamp.wMinute);
    EXPECT_EQ(t.wSecond, 0);
    EXPECT_EQ(readFileBytes(appFolder + file.name), readFileBytes((source / file.name).wstring()));
  }
  std::vector<std::wstring> expectedNames = {L"uninstall.dat", L"uninstall.exe", L"uninstall_l.avl"};
  for (const SampleFile& file : kSampleFiles) expectedNames.push_back(file.name);
  std::sort(expectedNames.begin(), expectedNames.end());
  EXPECT_EQ(folderEntries(appFolder), expectedNames);
  EXPECT_EQ(readFileBytes(appFolder + L"uninstall.exe"), readFileBytes(buildFolder() + L"\\AverluneUninstall.exe"));
  EXPECT_EQ(readFileBytes(appFolder + L"uninstall_l.avl"), sampleLanguageFile());

  // The uninstall log, byte for byte.
  ExpectedLog log;
  log.header(kSampleApp, L"1.0", L"", appFolder, 7);
  for (const SampleFile& file : kSampleFiles) log.file(appFolder + file.name);
  log.uninstallKey(kSampleApp).folder(startMenuFolder);
  const std::string written = readFileBytes(appFolder + L"uninstall.dat").value_or("<missing>");
  EXPECT_EQ(written, log.bytes) << visibleBytes(written) << "\n--- expected ---\n" << visibleBytes(log.bytes);

  // The uninstall entry.
  const std::wstring uninstaller = appFolder + L"uninstall.exe";
  const struct {
    const wchar_t* name;
    std::wstring data;
  } values[] = {
      {L"DisplayName", kSampleApp},        {L"DisplayVersion", L"1.0"},
      {L"HelpLink", L""},                  {L"Publisher", L"Averlune Samples"},
      {L"UninstallString", L"\"" + uninstaller + L"\""},  // quoted: the path has spaces
      {L"DisplayIcon", uninstaller},
      {L"LogDigest", logDigestOf(written)},  // of the log as written: the uninstaller checks it
      {L"LanguageDigest", logDigestOf(sampleLanguageFile())},  // the language copy's, checked likewise
  };
  for (const auto& value : values) {
    EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(kSampleApp), value.name).value_or(L"<missing>"),
              value.data)
        << fs::path(value.name).string();
  }

  // One start menu link, read back through the shell's link object.
  EXPECT_EQ(folderEntries(startMenuFolder), std::vector<std::wstring>{kSampleApp + L".lnk"});
  const ShortcutFacts link = readShortcut(startMenuFolder + kSampleApp + L".lnk");
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(link.target, appFolder + L"SampleNotes.exe");
  EXPECT_EQ(link.arguments, L"");
  EXPECT_EQ(link.workingDirectory, appFolder);
  EXPECT_EQ(link.description, L"");

  EXPECT_TRUE(w.finish());
}

// ---------------------------------------------------------------------------------------------
// Start menu links in a folder the user typed

TEST(Installation, StartMenuLinksGoIntoTheTypedFolderWithTheirArgumentsAndWorkingFolders) {
  const std::wstring appFolder = L"C:\\AvE2E\\Link Probe\\";
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  const std::wstring linkFolder = programs + L"Averlune Probe\\Tools\\";
  Cleanup cleanup({[&] { removeTree(L"C:\\AvE2E"); }, [&] { removeTree(programs + L"Averlune Probe"); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(L"Link Probe")); }});
  // The second record of a name replaces the first.
  const std::string startMenuList =
      "<installpath>\\bin\\old.exe\r\nProbe Tool\r\n\r\n"
      "<installpath>\\bin\\tool.exe\r\nProbe Tool\r\n/safe --quiet\r\n"
      "<installpath>\\docs\\a.txt\r\nProbe Docs\r\n\r\n";
  const struct {
    const wchar_t* link;
    std::wstring target, arguments, workingDirectory;
  } links[] = {
      {L"Probe Docs.lnk", appFolder + L"docs\\a.txt", L"", appFolder + L"docs\\"},
      {L"Probe Tool.lnk", appFolder + L"bin\\tool.exe", L"/safe --quiet", appFolder + L"bin\\"},
  };

  const std::wstring archive = scratchFolder(L"install-links") + L"\\payload.zip";
  ASSERT_TRUE(writePayloadZip(archive, {{"bin/tool.exe", "tool"}, {"docs/a.txt", "a"}}));
  const std::wstring setup = buildSetupWithPayload(
      L"install-links",
      setupConfig({"Appname = Link Probe", "Version = 1", "Languages = 1", "InstallDir = C:\\AvE2E\\Link Probe\\",
                   "StartMenuFolder = 1", "Allow_StartMenuFolder = 1", "ChangeStartMenuFolder = 1",
                   "ShortcutFolder = <appname>\\", "Uninstaller = 1", "UninstallerFilename = uninstall"},
                  {{"Startmenu.dat", startMenuList}}),
      archive);
  ASSERT_FALSE(setup.empty());

  WizardSession w(setup, L"Link Probe Setup", L"install-links");
  ASSERT_TRUE(w.started());
  bool typed = false;
  ASSERT_TRUE(w.nextToInstallingPage([&](ControlId page) {
    tickStartMenuBox(w, page);
    if (page == I::startMenuPanel) {
      // Typed without the closing backslash: the links land in the same folder as with it.
      const wchar_t folder[] = L"Averlune Probe\\Tools";
      SendMessageW(w.control(I::startMenuFolderField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder));
      typed = true;
    }
  }));
  ASSERT_TRUE(typed);
  ASSERT_TRUE(w.watchInstallation(nullptr));

  std::vector<std::wstring> names;
  for (const auto& link : links) names.push_back(link.link);
  EXPECT_EQ(folderEntries(linkFolder), names);
  for (const auto& link : links) {
    SCOPED_TRACE(fs::path(link.link).string());
    const ShortcutFacts facts = readShortcut(linkFolder + link.link);
    ASSERT_TRUE(facts.loaded);
    EXPECT_EQ(facts.target, link.target);
    EXPECT_EQ(facts.arguments, link.arguments);
    EXPECT_EQ(facts.workingDirectory, link.workingDirectory);
    EXPECT_EQ(facts.description, L"");
  }
  ExpectedLog log;
  log.header(L"Link Probe", L"1", L"", appFolder, 2).file(appFolder + L"bin\\tool.exe").file(appFolder + L"docs\\a.txt");
  log.uninstallKey(L"Link Probe").folder(linkFolder);
  const std::string written = readFileBytes(appFolder + L"uninstall.dat").value_or("<missing>");
  EXPECT_EQ(written, log.bytes) << visibleBytes(written) << "\n--- expected ---\n" << visibleBytes(log.bytes);
  EXPECT_TRUE(w.finish());
}

// ---------------------------------------------------------------------------------------------
// The registry list

const wchar_t kRegistryTestKey[] = L"Software\\AverluneE2E";
const wchar_t kSeededKey[] = L"Software\\AverluneE2E\\Reg";

TEST(Installation, RegistryListKeepsExistingTypesMapsRootsAndRecordsFlaggedValues) {
  const std::wstring appFolder = L"C:\\AvE2E\\Registry Probe\\";
  Cleanup cleanup({[&] { removeTree(L"C:\\AvE2E"); },
                   [] { deleteRegistryTree(HKEY_CURRENT_USER, kRegistryTestKey); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, kRegistryTestKey); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(L"Registry Probe")); }});
  // Values that exist before the run: their types decide how the list's texts are stored.
  ASSERT_TRUE(writeRegistryValue(HKEY_CURRENT_USER, kSeededKey, L"Dword", REG_DWORD, {7, 0, 0, 0}));
  ASSERT_TRUE(writeRegistryValue(HKEY_CURRENT_USER, kSeededKey, L"Bin", REG_BINARY, {1, 2, 3}));
  ASSERT_TRUE(writeRegistryValue(HKEY_CURRENT_USER, kSeededKey, L"Multi", REG_MULTI_SZ, registryTextBytes(L"a", true)));

  const std::vector<RegistryRecord> records = {
      {"HKEY_CURRENT_USER", "Software/AverluneE2E/Reg", "Dword", "$10", 1},
      {"HKEY_CURRENT_USER", "Software/AverluneE2E/Reg", "Bin", "0A FF", 0},
      {"HKEY_CURRENT_USER", "Software/AverluneE2E/Reg", "Multi", "plain text", 1},
      {"HKEY_CURRENT_USER", "Software/AverluneE2E/Reg", "Fresh", "<appname> <programversion>", 0},
      {"hkey_local_machine", "Software/AverluneE2E/Lower", "Where", "<installpath>", 1},
      {"HKEY_LOCAL_MACHINE", "Software/AverluneE2E/Machine", "Path", "<installpath>", 0},
  };
  const std::wstring folderValue = appFolder.substr(0, appFolder.size() - 1);  // <installpath>: no "\" at the end
  auto text = [](const std::wstring& t) { return registryTextBytes(t); };
  const struct {
    HKEY root;
    const wchar_t* subKey;
    const wchar_t* name;
    DWORD type;
    std::vector<std::uint8_t> data;
  } expected[] = {
      {HKEY_CURRENT_USER, kSeededKey, L"Dword", REG_DWORD, {0x10, 0, 0, 0}},
      {HKEY_CURRENT_USER, kSeededKey, L"Bin", REG_BINARY, {0x0A, 0xFF}},
      {HKEY_CURRENT_USER, kSeededKey, L"Multi", REG_SZ, text(L"plain text")},
      {HKEY_CURRENT_USER, kSeededKey, L"Fresh", REG_SZ, text(L"Registry Probe 4.2")},
      {HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Lower", L"Where", REG_SZ, text(folderValue)},
      {HKEY_LOCAL_MACHINE, L"Software\\AverluneE2E\\Machine", L"Path", REG_SZ, text(folderValue)},
  };

  const std::wstring archive = scratchFolder(L"install-registry") + L"\\payload.zip";
  ASSERT_TRUE(writePayloadZip(archive, {{"tool.txt", "tool"}}));
  const std::wstring setup = buildSetupWithPayload(
      L"install-registry",
      setupConfig({"Appname = Registry Probe", "Version = 4.2", "Languages = 1", "InstallDir = C:\\AvE2E\\Registry Probe\\",
                   "Uninstaller = 1", "UninstallerFilename = uninstall", "Registry = 1"},
                  {{"Registry.dat", registryList(records)}}),
      archive);
  ASSERT_FALSE(setup.empty());

  WizardSession w(setup, L"Registry Probe Setup", L"install-registry");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.nextToInstallingPage());
  ASSERT_TRUE(w.watchInstallation(nullptr));
  EXPECT_TRUE(w.boxes.empty());

  for (const auto& e : expected) {
    SCOPED_TRACE(fs::path(e.name).string());
    const RegistryValue value = readRegistryValue(e.root, e.subKey, e.name);
    ASSERT_TRUE(value.exists);
    EXPECT_EQ(value.type, e.type);
    EXPECT_EQ(value.data, e.data);
  }
  // Root names are compared letter case included: a lower-case one is the current user.
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, L"Software\\AverluneE2E\\Lower"));

  ExpectedLog log;
  log.header(L"Registry Probe", L"4.2", L"", appFolder, 1).file(appFolder + L"tool.txt").uninstallKey(L"Registry Probe");
  log.value(L"HKEY_CURRENT_USER", L"Software\\AverluneE2E\\Reg\\", L"Dword");
  log.value(L"HKEY_CURRENT_USER", L"Software\\AverluneE2E\\Reg\\", L"Multi");
  log.value(L"hkey_local_machine", L"Software\\AverluneE2E\\Lower\\", L"Where");
  const std::string written = readFileBytes(appFolder + L"uninstall.dat").value_or("<missing>");
  EXPECT_EQ(written, log.bytes) << visibleBytes(written) << "\n--- expected ---\n" << visibleBytes(log.bytes);

  EXPECT_TRUE(w.finish());
}

// A 32-bit setup on 64-bit Windows is redirected: its HKEY_LOCAL_MACHINE\Software writes land in
// the 32-bit view, where 32-bit programs (and its own uninstaller) look for them.
TEST(Installation, ThirtyTwoBitSetupWritesMachineKeysIntoTheThirtyTwoBitView) {
#ifdef _WIN64
  GTEST_SKIP() << "a 64-bit setup writes the native view; only the 32-bit build is redirected";
#else
  Cleanup cleanup({[&] { removeTree(L"C:\\AvE2E"); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, kRegistryTestKey); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(L"View Probe")); }});
  const std::wstring archive = scratchFolder(L"install-view") + L"\\payload.zip";
  ASSERT_TRUE(writePayloadZip(archive, {{"tool.txt", "tool"}}));
  const std::wstring setup = buildSetupWithPayload(
      L"install-view",
      setupConfig({"Appname = View Probe", "Languages = 1", "InstallDir = C:\\AvE2E\\View Probe\\", "Uninstaller = 1",
                   "Registry = 1"},
                  {{"Registry.dat", registryList({{"HKEY_LOCAL_MACHINE", "Software/AverluneE2E/View", "Seen", "yes", 0}})}}),
      archive);
  ASSERT_FALSE(setup.empty());
  WizardSession w(setup, L"View Probe Setup", L"install-view");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.nextToInstallingPage());
  ASSERT_TRUE(w.watchInstallation(nullptr));

  for (const std::wstring& key : {std::wstring(L"Software\\AverluneE2E\\View"), uninstallKeyOf(L"View Probe")}) {
    SCOPED_TRACE(fs::path(key).string());
    EXPECT_TRUE(registryKeyExists(HKEY_LOCAL_MACHINE, key));
    EXPECT_FALSE(registryKeyExistsInNativeView(HKEY_LOCAL_MACHINE, key));
  }
  EXPECT_TRUE(w.finish());
#endif
}

// ---------------------------------------------------------------------------------------------
// No uninstaller

}  // namespace
}  // namespace averlune::e2e
