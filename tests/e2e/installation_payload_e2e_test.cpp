// Payload archives the builder would never write, installed under Wine through the real wizard:
// subfolders and a folder entry, a read-only entry, a name in the OEM code page, a name flagged as
// UTF-8 as other zip tools write it, a name that climbs out of the application folder; installed
// twice over files that are in use, ended by Abort half-way, and into a folder where a link was
// planted. And an application named in several scripts, built by the builder, installed and
// removed silently.
#include <gtest/gtest.h>

#include <filesystem>

#include "authoring/new_setup_folder.h"
#include "authoring/setup_builder.h"
#include "base/text_decoding.h"
#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/silent_run_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

const std::wstring kApp = L"Payload Probe";
const std::wstring kRoot = L"C:\\AvE2E\\";
const std::wstring kAppFolder = kRoot + kApp + L"\\";

// A name as today's zip tools store one outside their code page: UTF-8, flagged so.
PayloadEntry zipToolEntry(std::string name, std::string data) {
  PayloadEntry entry{std::move(name), std::move(data)};
  entry.utf8Name = true;
  return entry;
}

// The archive, in its order. Stored time 14:35:58 for every entry.
const std::vector<PayloadEntry> kEntries = {
    {"bin/tool.exe", "tool, as shipped", 0x20},
    {"docs/", "", 0x10},
    {"docs/a.txt", "a text, as shipped", 0x20},
    {"readonly.txt", "do not change me", 0x21},
    {"\x81" "ber.txt", "umlaut", 0x20},  // CP437 0x81 is u with diaeresis
    {"../evil.txt", "written outside", 0x20},
    zipToolEntry("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.txt", "flagged"),
};

// What the archive installs, files only; all of them are logged in this order.
const struct InstalledFile {
  const wchar_t* path;  // below the application folder
  const char* content;
  DWORD attributes;
} kInstalled[] = {
    {L"bin\\tool.exe", "tool, as shipped", FILE_ATTRIBUTE_ARCHIVE},
    {L"docs\\a.txt", "a text, as shipped", FILE_ATTRIBUTE_ARCHIVE},
    {L"readonly.txt", "do not change me", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
    {L"\u00FC" L"ber.txt", "umlaut", FILE_ATTRIBUTE_ARCHIVE},
    {L"\u041F\u0440\u0438\u0432\u0435\u0442.txt", "flagged", FILE_ATTRIBUTE_ARCHIVE},
};

std::wstring buildPayloadSetup(const std::wstring& testName) {
  const std::wstring archive = scratchFolder(testName) + L"\\payload.zip";
  if (!writePayloadZip(archive, kEntries)) {
    ADD_FAILURE() << "cannot write the payload archive";
    return L"";
  }
  return buildSetupWithPayload(testName,
                               setupConfig({"Appname = Payload Probe", "Version = 3.1", "Languages = 1",
                                            "InstallDir = C:\\AvE2E\\Payload Probe\\", "Uninstaller = 1",
                                            "UninstallerFilename = uninstall", "Website = https://x.invalid"}),
                               archive);
}

// The log every complete run writes: the hostile entry is never recorded, the folder entry comes
// after the files.
std::string completeLog() {
  ExpectedLog log;
  log.header(kApp, L"3.1", L"", kAppFolder, static_cast<std::uint32_t>(kEntries.size()));
  for (const InstalledFile& file : kInstalled) log.file(kAppFolder + file.path);
  log.folder(kAppFolder + L"docs\\").uninstallKey(kApp);
  return log.bytes;
}

// One extraction box the run must show, where it must show it, and what the test does about it.
struct ExpectedBox {
  const wchar_t* fileName;  // the file part of the entry name, shown in the box
  int position;             // progress position while the box is up: the entries done before
  const wchar_t* entry;     // the entry in the status text, "/" shown as "\"
  int answer;               // IDRETRY, IDIGNORE, IDABORT
  std::function<void()> before = nullptr;  // done right before answering
};

// Answers the boxes of a run as `expected` says; a box it does not expect is answered Abort.
BoxAnswer answerAs(const std::vector<ExpectedBox>& expected, const WizardSession& w) {
  return [&expected, &w](const InstallBox&) {
    const std::size_t index = w.boxes.size() - 1;
    if (index >= expected.size()) return IDABORT;
    if (expected[index].before) expected[index].before();
    return expected[index].answer;
  };
}

void checkBoxes(const WizardSession& w, const std::vector<ExpectedBox>& expected) {
  EXPECT_EQ(w.boxes.size(), expected.size());
  for (std::size_t i = 0; i < w.boxes.size() && i < expected.size(); ++i) {
    const InstallBox& met = w.boxes[i];
    const ExpectedBox& want = expected[i];
    SCOPED_TRACE("box " + std::to_string(i + 1) + ": " + fs::path(met.box.text).string());
    EXPECT_EQ(met.box.title, L"Error");
    EXPECT_EQ(met.box.text, std::wstring(L"Could not extract file!\n") + want.fileName);
    EXPECT_EQ(plainCaptions(met.box.buttons), (std::vector<std::wstring>{L"Abort", L"Retry", L"Ignore"}));
    EXPECT_TRUE(met.box.hasErrorIcon);
    EXPECT_EQ(met.page.status, L"Installing..\n" + kAppFolder + want.entry);
    EXPECT_EQ(met.page.position, want.position);
    EXPECT_EQ(met.page.maximum, static_cast<int>(kEntries.size()) + 2);
  }
}

void checkInstalledFiles() {
  for (const InstalledFile& file : kInstalled) {
    SCOPED_TRACE(fs::path(file.path).string());
    const FileFacts facts = fileFacts(kAppFolder + file.path);
    ASSERT_TRUE(facts.exists);
    EXPECT_EQ(facts.attributes, file.attributes);
    EXPECT_EQ(facts.lastWriteLocal.wYear, 2024);
    EXPECT_EQ(facts.lastWriteLocal.wMonth, 3);
    EXPECT_EQ(facts.lastWriteLocal.wDay, 15);
    EXPECT_EQ(facts.lastWriteLocal.wHour, 14);
    EXPECT_EQ(facts.lastWriteLocal.wMinute, 35);
    EXPECT_EQ(facts.lastWriteLocal.wSecond, 0);
    EXPECT_EQ(readFileBytes(kAppFolder + file.path).value_or("<missing>"), file.content);
  }
}

void checkLog(const std::string& expected) {
  const std::string written = readFileBytes(kAppFolder + L"uninstall.dat").value_or("<missing>");
  EXPECT_EQ(written, expected) << visibleBytes(written) << "\n--- expected ---\n" << visibleBytes(expected);
}

// After a run that ended early: no uninstall entry but the digest of the log it left.
void checkOnlyTheDigestIsKept(const std::string& log) {
  EXPECT_FALSE(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp), L"DisplayName"));
  EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp), L"LogDigest").value_or(L"<missing>"),
            logDigestOf(log));
}

// The hostile entry is refused like a file that cannot be written; Ignore passes over it.
const std::vector<ExpectedBox> kFirstRunBoxes = {{L"evil.txt", 5, L"..\\evil.txt", IDIGNORE}};

Cleanup payloadCleanup() {
  return Cleanup({[] { removeTree(kRoot); }, [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); }});
}

TEST(PayloadInstallation, FoldersReadOnlyOemNamesAndAHostileNameThatWritesNothingOutside) {
  ASSERT_EQ(GetOEMCP(), 437u) << "the name byte 0x81 reads as u with diaeresis only in code page 437";
  const Cleanup cleanup = payloadCleanup();
  const std::wstring setup = buildPayloadSetup(L"install-payload");
  ASSERT_FALSE(setup.empty());
  WizardSession w(setup, kApp + L" Setup", L"install-payload");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.nextToInstallingPage());
  ASSERT_TRUE(w.watchInstallation(answerAs(kFirstRunBoxes, w)));
  checkBoxes(w, kFirstRunBoxes);

  checkInstalledFiles();
  EXPECT_EQ(folderEntries(kAppFolder),
            (std::vector<std::wstring>{L"bin", L"docs", L"readonly.txt", L"uninstall.dat", L"uninstall.exe",
                                       L"uninstall_l.avl", L"\u00FC" L"ber.txt",
                                       L"\u041F\u0440\u0438\u0432\u0435\u0442.txt"}));
  // Nothing beside the application folder: the climbing name wrote nowhere.
  EXPECT_EQ(folderEntries(kRoot), std::vector<std::wstring>{kApp});
  EXPECT_FALSE(fileExists(L"C:\\evil.txt"));
  checkLog(completeLog());
  EXPECT_TRUE(w.finish());
}

TEST(PayloadInstallation, SecondRunOverFilesInUseRetriesAndIgnoresAsTheUserChooses) {
  const Cleanup cleanup = payloadCleanup();
  const std::wstring setup = buildPayloadSetup(L"install-payload-twice");
  ASSERT_FALSE(setup.empty());
  {
    WizardSession first(setup, kApp + L" Setup", L"install-payload-twice-1");
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(first.nextToInstallingPage());
    ASSERT_TRUE(first.watchInstallation(answerAs(kFirstRunBoxes, first)));
    ASSERT_TRUE(first.finish());
  }
  // The read-only file of the first run would refuse the second run on Windows (a box), while
  // Wine running as root replaces it anyway; without its attribute both replace it, and the
  // attribute the second run sets again shows that it did.
  ASSERT_TRUE(SetFileAttributesW((kAppFolder + L"readonly.txt").c_str(), FILE_ATTRIBUTE_ARCHIVE));
  // Files changed since, then held open without sharing by this process, so that the second run
  // cannot replace them.
  ASSERT_TRUE(writeFileBytes(kAppFolder + L"bin\\tool.exe", "tool, changed since"));
  ASSERT_TRUE(writeFileBytes(kAppFolder + L"docs\\a.txt", "a text, changed since"));
  HeldFile tool(kAppFolder + L"bin\\tool.exe");
  HeldFile a(kAppFolder + L"docs\\a.txt");
  ASSERT_TRUE(tool.held());
  ASSERT_TRUE(a.held());

  const std::vector<ExpectedBox> boxes = {
      {L"tool.exe", 0, L"bin\\tool.exe", IDRETRY},  // still in use: the same entry fails again
      {L"tool.exe", 0, L"bin\\tool.exe", IDRETRY, [&] { tool.release(); }},
      {L"a.txt", 2, L"docs\\a.txt", IDIGNORE},
      {L"evil.txt", 5, L"..\\evil.txt", IDIGNORE},
  };
  WizardSession second(setup, kApp + L" Setup", L"install-payload-twice-2");
  ASSERT_TRUE(second.started());
  ASSERT_TRUE(second.nextToInstallingPage());
  ASSERT_TRUE(second.watchInstallation(answerAs(boxes, second)));
  checkBoxes(second, boxes);
  a.release();

  // Retry replaced the file once it was free; Ignore left the file in use as it was and still
  // logged it.
  EXPECT_EQ(readFileBytes(kAppFolder + L"bin\\tool.exe").value_or("<missing>"), "tool, as shipped");
  EXPECT_EQ(readFileBytes(kAppFolder + L"docs\\a.txt").value_or("<missing>"), "a text, changed since");
  EXPECT_EQ(fileFacts(kAppFolder + L"readonly.txt").attributes,
            static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
  checkLog(completeLog());
  EXPECT_TRUE(second.finish());
}

TEST(PayloadInstallation, AbortEndsTheSetupAndKeepsWhatWasExtracted) {
  const Cleanup cleanup = payloadCleanup();
  const std::wstring setup = buildPayloadSetup(L"install-payload-abort");
  ASSERT_FALSE(setup.empty());
  ASSERT_TRUE(CreateDirectoryW(kRoot.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(kAppFolder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((kAppFolder + L"docs").c_str(), nullptr));
  ASSERT_TRUE(writeFileBytes(kAppFolder + L"docs\\a.txt", "in use"));
  HeldFile a(kAppFolder + L"docs\\a.txt");
  ASSERT_TRUE(a.held());

  const std::vector<ExpectedBox> boxes = {{L"a.txt", 2, L"docs\\a.txt", IDABORT}};
  WizardSession w(setup, kApp + L" Setup", L"install-payload-abort");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.nextToInstallingPage());
  EXPECT_FALSE(w.watchInstallation(answerAs(boxes, w), 30000));  // the setup ends instead of finishing
  checkBoxes(w, boxes);
  EXPECT_TRUE(w.endsCleanly());  // exit code 0, work folder removed
  a.release();

  // What came before the failed entry stays; nothing after it was written, nothing registered.
  EXPECT_EQ(readFileBytes(kAppFolder + L"bin\\tool.exe").value_or("<missing>"), "tool, as shipped");
  EXPECT_EQ(readFileBytes(kAppFolder + L"docs\\a.txt").value_or("<missing>"), "in use");
  EXPECT_FALSE(fileExists(kAppFolder + L"readonly.txt"));
  EXPECT_FALSE(fileExists(kAppFolder + L"\u00FC" L"ber.txt"));
  ExpectedLog log;
  log.header(kApp, L"3.1", L"", kAppFolder, static_cast<std::uint32_t>(kEntries.size())).file(kAppFolder + L"bin\\tool.exe");
  checkLog(log.bytes);
  // Not registered, but the log's digest is kept, so the uninstaller can remove what came before.
  checkOnlyTheDigestIsKept(log.bytes);
}

// ---------------------------------------------------------------------------------------------
// A link planted in an existing application folder

TEST(PayloadInstallation, ALinkAtAFoldersPlaceIsNeverWrittenThrough) {
  const Cleanup cleanup = payloadCleanup();
  const std::wstring setup = buildPayloadSetup(L"install-payload-link");
  ASSERT_FALSE(setup.empty());
  const std::wstring target = kRoot + L"Target\\";
  ASSERT_TRUE(CreateDirectoryW(kRoot.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(kAppFolder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
  ASSERT_TRUE(writeFileBytes(target + L"keep.txt", "keep"));
  // The first entry, bin/tool.exe, is a file in a folder the archive does not list.
  ASSERT_TRUE(makeFolderLink(kAppFolder + L"bin", kRoot + L"Target"));

  const std::vector<ExpectedBox> boxes = {{L"tool.exe", 0, L"bin\\tool.exe", IDRETRY},
                                          {L"tool.exe", 0, L"bin\\tool.exe", IDABORT}};
  WizardSession w(setup, kApp + L" Setup", L"install-payload-link");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.nextToInstallingPage());
  EXPECT_FALSE(w.watchInstallation(answerAs(boxes, w), 30000));
  checkBoxes(w, boxes);
  EXPECT_TRUE(w.endsCleanly());

  EXPECT_EQ(folderEntries(target), std::vector<std::wstring>{L"keep.txt"});
  EXPECT_EQ(readFileBytes(target + L"keep.txt").value_or("<missing>"), "keep");
  ExpectedLog log;
  log.header(kApp, L"3.1", L"", kAppFolder, static_cast<std::uint32_t>(kEntries.size()));
  checkLog(log.bytes);
  checkOnlyTheDigestIsKept(log.bytes);
}

// ---------------------------------------------------------------------------------------------
// An application named in several scripts, from the author's folder to its removal

TEST(PayloadInstallation, NamesInAnyScriptInstallAndTheUninstallerRemovesThem) {
  const std::wstring app = L"Script Probe";
  const std::wstring folder = kRoot + app + L"\\";
  const Cleanup cleanup({[] { removeTree(kRoot); }, [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(app)); }});
  const std::wstring greek = L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC\\";  // Ελληνικά
  const struct {
    std::wstring path;  // below the application folder
    std::string content;
  } files[] = {
      {L"\u0421\u043F\u0440\u0430\u0432\u043A\u0430.pdf", "Cyrillic"},      // Справка.pdf
      {greek + L"\u039F\u03B4\u03B7\u03B3\u03CC\u03C2.txt", "Greek"},  // Οδηγός.txt
      {L"\u8AAC\u660E.txt", "Japanese"},                                 // 説明.txt
      {L"\u00FC" L"ber.txt", "umlaut"},                                  // in the OEM code page
  };
  const fs::path scratch = scratchFolder(L"install-scripts");
  ASSERT_EQ(writeNewSetupFolder(scratch / L"config", "Script Probe"), "");
  for (const auto& file : files) {
    fs::create_directories((scratch / L"app" / file.path).parent_path());
    ASSERT_TRUE(writeFileBytes((scratch / L"app" / file.path).wstring(), file.content));
  }
  const fs::path setup = scratch / L"ScriptSetup.exe";
  ASSERT_EQ(buildSetup({bareSetupProgram(), scratch / L"config", scratch / L"app", setup}), "");
  ASSERT_EQ(runSilently({L"\"" + setup.wstring() + L"\" /S /D=" + folder.substr(0, folder.size() - 1),
                         temporaryFolder()}),
            0);

  const std::string log = readFileBytes(folder + L"uninstall.dat").value_or("<missing>");
  for (const auto& file : files) {
    SCOPED_TRACE(encodeUtf8(std::u16string(file.path.begin(), file.path.end())));
    EXPECT_EQ(readFileBytes(folder + file.path).value_or("<missing>"), file.content);
    const std::string record = ExpectedLog().file(folder + file.path).bytes;
    EXPECT_NE(log.find(record), std::string::npos) << visibleBytes(log);
  }
  EXPECT_NE(log.find(ExpectedLog().folder(folder + greek).bytes), std::string::npos);

  const auto uninstall = readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(app), L"QuietUninstallString");
  ASSERT_TRUE(uninstall);
  EXPECT_EQ(runSilently({*uninstall, temporaryFolder()}), 0);
  for (const auto& file : files) EXPECT_FALSE(fileExists(folder + file.path));
  EXPECT_FALSE(folderExists(folder + greek));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(app)));
}

}  // namespace
}  // namespace averlune::e2e
