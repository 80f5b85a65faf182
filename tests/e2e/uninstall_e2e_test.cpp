// The uninstaller under Wine, started as the system starts it (the registered command, from
// another current folder) after a real installation: its question, window and messages, what it
// removes and what it leaves, the self-deleting batch, silent removal, and logs edited to reach
// beyond the application. Each test removes what it installed before and after it runs.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <set>
#include <utility>

#include "base/text_decoding.h"
#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/sample_setup_win.h"
#include "tests/e2e/driver/setup_fixture_win.h"
#include "tests/e2e/driver/silent_run_win.h"
#include "tests/e2e/driver/window_driver_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;
using I = ControlId;

constexpr int kBoxMs = 20000;
constexpr int kExitMs = 20000;
constexpr int kBatchMs = 30000;
const std::wstring kRoot = L"C:\\AvE2U\\";
const wchar_t kRegistryTestKey[] = L"Software\\AverluneE2E";

std::string utf8(const std::wstring& text) { return encodeUtf8(std::u16string(text.begin(), text.end())); }

// The next message box of the process other than `previous` (which may still be closing).
std::optional<MessageBoxInfo> nextBox(DWORD processId, HWND previous = nullptr, int timeoutMs = kBoxMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  do {
    auto box = waitForMessageBox(processId, 0);
    if (box && box->handle != previous) return box;
    Sleep(50);
  } while (GetTickCount64() < deadline);
  return std::nullopt;
}

// Answers Yes to the uninstaller's question and gives its closing message, still open, for the
// journey to read and answer. Nothing, with the step that failed reported, when either box does not
// come or Yes cannot be pressed.
std::optional<MessageBoxInfo> closingMessageAfterYes(DWORD processId) {
  const auto question = nextBox(processId);
  if (!question) {
    ADD_FAILURE() << "the uninstaller asked no question";
    return std::nullopt;
  }
  if (!pressMessageBoxButtonById(question->handle, IDYES)) {
    ADD_FAILURE() << "Yes could not be pressed on the question";
    return std::nullopt;
  }
  auto message = nextBox(processId, question->handle);
  if (!message) ADD_FAILURE() << "no closing message followed Yes";
  return message;
}

std::set<std::wstring> batchFilesInTemp() {
  std::set<std::wstring> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(temporaryFolder(), error)) {
    if (entry.path().extension() == L".bat") names.insert(entry.path().filename().wstring());
  }
  return names;
}

// The system's temporary folder, where the uninstaller leaves its own file when it ends.
std::wstring windowsTemp() {
  wchar_t path[MAX_PATH] = L"";
  const UINT length = GetSystemWindowsDirectoryW(path, MAX_PATH);
  return length && length < MAX_PATH ? std::wstring(path, length) + L"\\Temp\\" : std::wstring();
}

// The folders named by a GUID in `folder`: the uninstaller's leftovers' folders among them.
std::set<std::wstring> guidFoldersIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::wstring name = entry.path().filename().wstring();
    if (entry.is_directory(error) && name.size() == 38 && name.front() == L'{') names.insert(name);
  }
  return names;
}

// The command the list of installed programs runs for the application, started from the temporary
// folder: the uninstaller must find its files by itself.
CommandLine registeredCommand(const std::wstring& appName, const wchar_t* value = L"UninstallString") {
  return {readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(appName), value).value_or(L"<missing>"),
          temporaryFolder()};
}

// The uninstall entry vouches for the log the setup wrote: values are removed only from a log that
// matches it.
void expectLogDigest(const std::wstring& appName, const std::wstring& log) {
  EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(appName), L"LogDigest").value_or(L"<missing>"),
            logDigestOf(readFileBytes(log).value_or("")));
}

void dropLogDigest(const std::wstring& appName) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstallKeyOf(appName).c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
    return;
  }
  RegDeleteValueW(key, L"LogDigest");  // gone already: as good
  RegCloseKey(key);
}

// `text` with every `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A small setup built from a payload archive and a script, installed through its wizard.
struct Probe {
  Probe(std::wstring name, std::wstring appFolder) : name(std::move(name)), appFolder(std::move(appFolder)) {}

  std::wstring name;
  std::wstring appFolder;  // ends in "\"
  std::vector<PayloadEntry> payload = {{"a.txt", "a"}, {"b.txt", "bb"}};
  std::vector<std::string> script;  // lines besides the ones every probe has
  std::vector<ConfigFile> files;    // besides SC.dat, OS.dat and Default.avl
  std::function<void(WizardSession&, ControlId page)> onPage;

  bool install(const std::wstring& testName) const {
    // UTF-8 with its byte-order mark, so that the folder may hold any character.
    std::string sc = "\xEF\xBB\xBF[Setup]\r\nAppname = " + utf8(name) + "\r\nVersion = 1\r\nLanguages = 1\r\n";
    sc += "InstallDir = " + utf8(appFolder) + "\r\nUninstaller = 1\r\nUninstallerFilename = uninstall\r\n";
    for (const std::string& line : script) sc += line + "\r\n";
    std::vector<ConfigFile> config = {{"SC.dat", sc}, {"OS.dat", acceptEveryWindows()}, {"Default.avl", sampleLanguageFile()}};
    config.insert(config.end(), files.begin(), files.end());
    const std::wstring archive = scratchFolder(testName) + L"\\payload.zip";
    if (!writePayloadZip(archive, payload)) return false;
    const std::wstring setup = buildSetupWithPayload(testName, config, archive);
    if (setup.empty()) return false;
    WizardSession w(setup, name + L" Setup", testName);
    return w.started() && w.nextToInstallingPage([&](ControlId page) { if (onPage) onPage(w, page); }) &&
           w.watchInstallation(nullptr) && w.boxes.empty() && w.finish();
  }

  std::wstring log() const { return appFolder + L"uninstall.dat"; }
};

// ---------------------------------------------------------------------------------------------
// The sample, removed through its registered command

struct Expected {
  std::wstring className, text;
  RECT rect;
  bool enabled = true;
};

TEST(Uninstall, SampleGoesThroughQuestionWindowAndMessageAndLeavesNothing) {
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  const std::wstring startMenuFolder = programs + kSampleApp + L"\\";
  const std::wstring appFolder = shellFolder(CSIDL_PROGRAM_FILES) + kSampleApp + L"\\";
  Cleanup cleanup({[&] { removeTree(appFolder); }, [&] { removeTree(startMenuFolder); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kSampleApp)); }});
  const std::wstring setup = buildSampleSetup(L"uninstall-sample");
  ASSERT_FALSE(setup.empty());
  {
    WizardSession w(setup, kSampleApp + L" Setup", L"uninstall-sample-setup");
    ASSERT_TRUE(w.started());
    ASSERT_TRUE(w.nextToInstallingPage());
    ASSERT_TRUE(w.watchInstallation(nullptr));
    ASSERT_TRUE(w.finish());
  }

  // The registration a deployment tool and the list of installed programs read.
  const std::wstring uninstaller = appFolder + L"uninstall.exe";
  EXPECT_EQ(registeredCommand(kSampleApp).text, L"\"" + uninstaller + L"\"");
  EXPECT_EQ(registeredCommand(kSampleApp, L"QuietUninstallString").text, L"\"" + uninstaller + L"\" /S");
  std::uint64_t bytes = 0;
  for (const SampleFile& file : kSampleFiles) bytes += fileSize(appFolder + file.name);
  const RegistryValue size = readRegistryValue(HKEY_LOCAL_MACHINE, uninstallKeyOf(kSampleApp), L"EstimatedSize");
  ASSERT_TRUE(size.exists);
  EXPECT_EQ(size.type, static_cast<DWORD>(REG_DWORD));
  ASSERT_EQ(size.data.size(), 4u);
  EXPECT_EQ(size.data[0] | size.data[1] << 8 | size.data[2] << 16 | size.data[3] << 24,
            static_cast<int>((bytes + 1023) / 1024));

  const std::set<std::wstring> batchesBefore = batchFilesInTemp();
  const std::set<std::wstring> leftoversBefore = guidFoldersIn(windowsTemp());
  TestProcess process(registeredCommand(kSampleApp));
  ASSERT_TRUE(process.started());

  const auto question = nextBox(process.id());
  ASSERT_TRUE(question);
  EXPECT_EQ(question->title, L"Uninstall");
  EXPECT_EQ(question->text, L"Do you want to remove Averlune Sample Notes from your computer?");
  EXPECT_EQ(plainCaptions(question->buttons), (std::vector<std::wstring>{L"Yes", L"No"}));
  EXPECT_TRUE(question->hasIcon);  // the question mark
  EXPECT_FALSE(question->hasErrorIcon);
  saveScreenshot(question->handle, screenshotPath(L"uninstall-sample-1-question"));
  ASSERT_TRUE(pressMessageBoxButtonById(question->handle, IDYES));

  // The removal is quick: the window is met with the closing message over it, still shown.
  const auto success = nextBox(process.id(), question->handle);
  ASSERT_TRUE(success);
  const HWND window = waitForWindow(process.id(), L"Uninstall Averlune Sample Notes", kBoxMs);
  ASSERT_TRUE(window);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 497);
  EXPECT_EQ(client.bottom, 362);
  const Expected expected[] = {
      {L"AverluneUninstallBand", L"", {0, 0, 497, 58}},
      {L"Static", L"", {440, 1, 495, 56}},
      {L"Static", L"Uninstall Status", {14, 10, 319, 25}},
      {L"Static", L"Please wait while Averlune Sample Notes is removed from your computer.", {25, 27, 380, 67}},
      {L"Static", L"", {0, 58, 497, 60}},
      {L"Static", L"Uninstalling Averlune Sample Notes", {25, 90, 472, 110}},
      {L"msctls_progress32", L"", {25, 120, 472, 140}},
      {L"Static", L"", {0, 313, 497, 315}},
      {L"Button", L"Cancel", {392, 330, 472, 352}, false},
  };
  const std::vector<ControlInfo> controls = controlsOf(window);
  ASSERT_EQ(controls.size(), std::size(expected));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(controls[i].className, expected[i].className);
    EXPECT_EQ(controls[i].text, expected[i].text);
    EXPECT_EQ(controls[i].rect.left, expected[i].rect.left);
    EXPECT_EQ(controls[i].rect.top, expected[i].rect.top);
    EXPECT_EQ(controls[i].rect.right, expected[i].rect.right);
    EXPECT_EQ(controls[i].rect.bottom, expected[i].rect.bottom);
    EXPECT_TRUE(controls[i].visible);
    EXPECT_EQ(controls[i].enabled, expected[i].enabled);
  }
  // The bar stands at the entry count: six files and the empty-named folder entry.
  EXPECT_EQ(SendMessageW(controls[6].handle, PBM_GETRANGE, FALSE, 0), 7);
  EXPECT_EQ(SendMessageW(controls[6].handle, PBM_GETPOS, 0, 0), 7);
  // The message box is moved aside for the window's picture.
  SetWindowPos(success->handle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(300);
  saveScreenshot(window, screenshotPath(L"uninstall-sample-2-window"));

  EXPECT_EQ(success->title, L"Uninstall");
  EXPECT_EQ(success->text, L"Averlune Sample Notes was successfully removed from your computer!");
  EXPECT_EQ(plainCaptions(success->buttons), std::vector<std::wstring>{L"OK"});
  EXPECT_FALSE(success->hasIcon);
  saveScreenshot(success->handle, screenshotPath(L"uninstall-sample-3-success"));

  // Closing asks the exit question; Cancel goes back. (The close command is greyed and the window
  // disabled under the message, so the request is made as the close handler receives it.)
  PostMessageW(window, WM_CLOSE, 0, 0);
  const auto exitQuestion = nextBox(process.id(), success->handle);
  ASSERT_TRUE(exitQuestion);
  EXPECT_EQ(exitQuestion->title, L"Uninstall");
  EXPECT_EQ(exitQuestion->text, L"Do you want to exit uninstall?");
  EXPECT_EQ(plainCaptions(exitQuestion->buttons), (std::vector<std::wstring>{L"OK", L"Cancel"}));
  ASSERT_TRUE(pressMessageBoxButtonById(exitQuestion->handle, IDCANCEL));

  // Everything the log lists is gone while the message is up; the uninstaller itself is not.
  for (const SampleFile& file : kSampleFiles) EXPECT_FALSE(fileExists(appFolder + file.name)) << utf8(file.name);
  EXPECT_FALSE(folderExists(startMenuFolder));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(kSampleApp)));
  EXPECT_EQ(folderEntries(appFolder), std::vector<std::wstring>{L"uninstall.exe"});

  for (int waited = 0; waited < kBoxMs && IsWindow(exitQuestion->handle); waited += 50) Sleep(50);
  ASSERT_TRUE(pressMessageBoxButtonById(success->handle, IDOK));
  DWORD exitCode = 99;
  ASSERT_TRUE(process.waitForExit(kExitMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);

  // Before it ended, the uninstaller moved its own file into a new folder of the system's temporary
  // folder and removed the then empty application folder; nothing is left in the user's.
  EXPECT_FALSE(folderExists(appFolder));
  EXPECT_EQ(batchFilesInTemp(), batchesBefore);
  std::set<std::wstring> leftovers = guidFoldersIn(windowsTemp());
  for (const std::wstring& name : leftoversBefore) leftovers.erase(name);
  ASSERT_EQ(leftovers.size(), 1u);
  const std::wstring leftoverFolder = windowsTemp() + *leftovers.begin();
  // A hidden command deletes the file once the uninstaller has ended. The empty folder, which only
  // administrators may change, waits for the restart, queued with the file.
  for (int waited = 0; waited < kBatchMs && !folderEntries(leftoverFolder).empty(); waited += 100) Sleep(100);
  EXPECT_TRUE(folderEntries(leftoverFolder).empty());
  EXPECT_NE(pendingRenames().find(upperCased(L"\\??\\" + leftoverFolder + L"\\uninstall.exe||\\??\\" + leftoverFolder + L"||")),
            std::wstring::npos) << utf8(pendingRenames());
  TestProcess restart({L"wineboot.exe --restart", temporaryFolder()});
  ASSERT_TRUE(restart.started());
  EXPECT_TRUE(restart.waitForExit(kExitMs, nullptr));
  EXPECT_TRUE(waitUntilGone(leftoverFolder));
}

// ---------------------------------------------------------------------------------------------
// What the uninstaller is asked to do in the unusual cases

// HKEY_LOCAL_MACHINE\Software\Classes\http's open command, replaced for a test: web addresses
// then land in a file instead of a browser.
class WebAddressCatcher {
 public:
  explicit WebAddressCatcher(const std::wstring& file) {
    old_ = readRegistryText(HKEY_LOCAL_MACHINE, kKey, L"");
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    set(L"\"" + std::wstring(system) + L"\\cmd.exe\" /c echo %1> \"" + file + L"\"");
  }
  ~WebAddressCatcher() {
    if (old_) set(*old_);
  }
  WebAddressCatcher(const WebAddressCatcher&) = delete;
  WebAddressCatcher& operator=(const WebAddressCatcher&) = delete;

 private:
  static constexpr const wchar_t* kKey = L"Software\\Classes\\http\\shell\\open\\command";
  static void set(const std::wstring& command) {
    ASSERT_TRUE(writeRegistryValue(HKEY_LOCAL_MACHINE, kKey, L"", REG_SZ, registryTextBytes(command)));
  }
  std::optional<std::wstring> old_;
};

TEST(Uninstall, NoForeignMarkUserFileWebSiteAndRegistryPruningAsTheLogSays) {
  Probe probe{L"Edge Probe", kRoot + L"Edge Probe\\"};
  const std::wstring webFile = kRoot + L"web.txt";
  Cleanup cleanup({[] { removeTree(kRoot); }, [] { deleteRegistryTree(HKEY_CURRENT_USER, kRegistryTestKey); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, kRegistryTestKey); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)); }});
  // "HKLM" names no root: the setup writes such a value under HKEY_CURRENT_USER, the uninstaller
  // removes it there. Its key has three parts; the second keeps a key the log does not name.
  std::string registryList = "HKLM\r\nSoftware/AverluneE2E/Edge\r\nFlagged\r\n1\r\n" + std::string("\x01\0\0\0", 4);
  registryList += "HKEY_CURRENT_USER\r\nSoftware/AverluneE2E/Kept\r\nPlain\r\n2\r\n" + std::string(4, '\0');
  probe.script = {"Registry = 1", "Uninstaller_VW = 1", "Website = http://example.invalid/averlune"};
  probe.files = {{"Registry.dat", registryList}};
  ASSERT_TRUE(probe.install(L"uninstall-edge"));
  expectLogDigest(probe.name, probe.log());
  ASSERT_TRUE(readRegistryText(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Edge", L"Flagged"));
  const std::vector<std::wstring> installed = {L"a.txt", L"b.txt", L"uninstall.dat", L"uninstall.exe",
                                               L"uninstall_l.avl"};
  ASSERT_EQ(folderEntries(probe.appFolder), installed);

  {  // No: nothing is removed.
    TestProcess process(registeredCommand(probe.name));
    const auto question = nextBox(process.id());
    ASSERT_TRUE(question);
    ASSERT_TRUE(pressMessageBoxButtonById(question->handle, IDNO));
    DWORD exitCode = 99;
    ASSERT_TRUE(process.waitForExit(kExitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(folderEntries(probe.appFolder), installed);
    EXPECT_TRUE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)));
    EXPECT_TRUE(readRegistryText(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Edge", L"Flagged"));
  }

  {  // A log of another format (06 00 00 00): an error, nothing removed; silently, exit code 1603.
    const std::string log = readFileBytes(probe.log()).value_or("");
    ASSERT_TRUE(writeFileBytes(probe.log(), '\x06' + log.substr(1)));
    TestProcess process(registeredCommand(probe.name));
    const auto error = nextBox(process.id());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->title, L"Error");
    EXPECT_EQ(error->text, L"Uninstall error!");
    EXPECT_TRUE(error->hasErrorIcon);
    saveScreenshot(error->handle, screenshotPath(L"uninstall-error"));
    ASSERT_TRUE(pressMessageBoxButtonById(error->handle, IDOK));
    ASSERT_TRUE(process.waitForExit(kExitMs));
    EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 1603);
    EXPECT_EQ(folderEntries(probe.appFolder), installed);
    EXPECT_TRUE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)));
    ASSERT_TRUE(writeFileBytes(probe.log(), log));
  }

  // Yes, with a file of the user's in the application folder and the web site caught.
  ASSERT_TRUE(writeFileBytes(probe.appFolder + L"notes.txt", "mine"));
  WebAddressCatcher catcher(webFile);
  TestProcess process(registeredCommand(probe.name));
  const auto success = closingMessageAfterYes(process.id());
  ASSERT_TRUE(success);
  EXPECT_EQ(success->text, L"Edge Probe was successfully removed from your computer!");
  Sleep(500);
  EXPECT_FALSE(fileExists(webFile)) << "the web site opened before the closing message was answered";
  ASSERT_TRUE(pressMessageBoxButtonById(success->handle, IDOK));
  DWORD exitCode = 99;
  ASSERT_TRUE(process.waitForExit(kExitMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  // The catcher creates its file first and writes into it after.
  for (int waited = 0; waited < kBatchMs && readFileBytes(webFile).value_or("").empty(); waited += 100) Sleep(100);
  EXPECT_EQ(readFileBytes(webFile).value_or(""), "http://example.invalid/averlune\r\n");

  // The folder keeps the user's file; the uninstaller moves itself away but leaves the folder.
  EXPECT_TRUE(waitUntilGone(probe.appFolder + L"uninstall.exe"));
  Sleep(1000);
  EXPECT_EQ(folderEntries(probe.appFolder), std::vector<std::wstring>{L"notes.txt"});
  // The value's key went, being empty; its parent stays for the key it still holds.
  EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Edge"));
  EXPECT_TRUE(readRegistryText(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Kept", L"Plain"));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)));
}

// ---------------------------------------------------------------------------------------------
// Logs edited to reach beyond the application

// An older setup's entry has no digest to check the log against: the log's records are then held
// to what a setup writes.
TEST(Uninstall, WithoutADigestAnEditedLogRemovesNothingOutsideTheApplicationAndNeverThroughALink) {
  Probe probe{L"Guard Probe", kRoot + L"Guard Probe\\"};
  const std::wstring outside = kRoot + L"Outside\\";
  const std::wstring target = kRoot + L"Target\\";
  wchar_t windowsText[MAX_PATH] = L"";
  GetWindowsDirectoryW(windowsText, MAX_PATH);
  const std::wstring windowsFolder = std::wstring(windowsText) + L"\\";
  const std::wstring windowsVictim = windowsFolder + L"AvE2U-victim.txt";
  const std::wstring desktopVictim = shellFolder(CSIDL_DESKTOPDIRECTORY) + L"AvE2U notes.txt";
  const std::wstring startup = shellFolder(CSIDL_STARTUP);
  const std::wstring startupLink = startup + L"AvE2U guard.lnk";
  const std::wstring document = shellFolder(CSIDL_DESKTOPDIRECTORY) + L"AvE2U Quarterly.lnkx";
  Cleanup cleanup({[] { removeTree(kRoot); }, [&] { removeTree(windowsVictim); },
                   [&] { removeTree(desktopVictim); }, [&] { removeTree(startupLink); }, [&] { removeTree(document); },
                   [] { deleteRegistryTree(HKEY_CURRENT_USER, kRegistryTestKey); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)); }});
  ASSERT_TRUE(probe.install(L"uninstall-guard"));
  dropLogDigest(probe.name);
  ASSERT_TRUE(writeFileBytes(desktopVictim, "mine"));
  ASSERT_TRUE(writeFileBytes(startupLink, "a link that runs at logon"));
  for (const std::wstring& folder : {outside, target}) {
    fs::create_directories(folder);
    ASSERT_TRUE(writeFileBytes(folder + L"keep.txt", "keep"));
  }
  ASSERT_TRUE(makeFolderLink(probe.appFolder + L"data", kRoot + L"Target"));
  ASSERT_TRUE(fileExists(probe.appFolder + L"data\\keep.txt"));
  ASSERT_TRUE(writeRegistryValue(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Victim", L"Stay", REG_SZ,
                                 registryTextBytes(L"1")));
  // A document on the desktop whose short name ends in ".LNK": only its long name tells that it is
  // no link. Wine makes up short names of its own (a hash in place of "~1") and opens files by them.
  ASSERT_TRUE(writeFileBytes(document, "the user's document"));
  wchar_t shortForm[MAX_PATH] = L"";
  const DWORD shortLength = GetShortPathNameW(document.c_str(), shortForm, MAX_PATH);
  ASSERT_TRUE(shortLength > 0 && shortLength < MAX_PATH);
  const std::wstring documentAlias = shortForm;
  ASSERT_NE(documentAlias, document) << "no short name to plant";
  ASSERT_EQ(utf8(documentAlias.substr(documentAlias.size() - 4)), ".LNK");

  // The setup's records, and others: outside the application, climbing out of it, through the
  // link, the link itself, a key that is no entry of the list of installed programs, a file on the
  // desktop that is no link, the Startup folder, another product's value, and a web site line
  // that would start a program.
  const std::wstring started = kRoot + L"started.txt";
  wchar_t system[MAX_PATH] = L"";
  GetSystemDirectoryW(system, MAX_PATH);
  ExpectedLog log;
  log.header(probe.name, L"1", std::wstring(system) + L"\\cmd.exe /c echo x> " + started, probe.appFolder, 2);
  log.file(probe.appFolder + L"a.txt").file(probe.appFolder + L"b.txt").uninstallKey(probe.name);
  log.file(outside + L"keep.txt").folder(outside);
  log.file(probe.appFolder + L"..\\Outside\\keep.txt");
  log.file(probe.appFolder + L"data\\keep.txt").folder(probe.appFolder + L"data\\");
  log.key(L"HKEY_CURRENT_USER", L"Software\\AverluneE2E\\Victim");
  log.file(desktopVictim).folder(startup).file(documentAlias);
  log.value(L"HKEY_CURRENT_USER", L"Software\\AverluneE2E\\Victim\\", L"Stay");
  ASSERT_TRUE(writeFileBytes(probe.log(), log.bytes));

  {
    TestProcess process(registeredCommand(probe.name));
    const auto message = closingMessageAfterYes(process.id());
    ASSERT_TRUE(message);
    // Where the link itself cannot be removed (Wine keeps host links) it is named as left; what
    // lies outside is never named: nobody should delete it by hand on an edited log's word.
    EXPECT_EQ(message->text.find(outside), std::wstring::npos);
    EXPECT_EQ(message->text.find(L"Outside"), std::wstring::npos);
    EXPECT_EQ(message->text.find(target), std::wstring::npos);
    EXPECT_EQ(message->text.find(desktopVictim), std::wstring::npos);
    // The value is named: the user may remove it by hand once sure it is the application's.
    EXPECT_NE(message->text.find(L"HKEY_CURRENT_USER\\Software\\AverluneE2E\\Victim\\Stay"), std::wstring::npos);
    saveScreenshot(message->handle, screenshotPath(L"uninstall-edited-log"));
    ASSERT_TRUE(pressMessageBoxButtonById(message->handle, IDOK));
    ASSERT_TRUE(process.waitForExit(kExitMs));
  }
  EXPECT_FALSE(fileExists(probe.appFolder + L"a.txt"));
  EXPECT_FALSE(fileExists(probe.appFolder + L"b.txt"));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)));
  EXPECT_TRUE(fileExists(outside + L"keep.txt"));
  EXPECT_TRUE(fileExists(target + L"keep.txt"));
  EXPECT_TRUE(readRegistryText(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Victim", L"Stay"));
  EXPECT_TRUE(fileExists(desktopVictim));
  EXPECT_TRUE(fileExists(startupLink));
  EXPECT_TRUE(fileExists(document)) << "removed by its short name " << utf8(documentAlias);
  Sleep(1000);
  EXPECT_FALSE(fileExists(started)) << "the web site line was started as a program";

  // Logs whose application folder is a drive root, the Windows folder, or any folder but the one
  // that holds the log and its uninstaller are refused whole: a link to that folder too, since it
  // could be turned elsewhere while the question is up.
  const std::wstring hand = kRoot + L"Hand\\";
  fs::create_directories(hand);
  ASSERT_TRUE(writeFileBytes(hand + L"keep.txt", "keep"));
  ASSERT_TRUE(makeFolderLink(kRoot + L"HandLink", kRoot + L"Hand"));
  ASSERT_TRUE(writeFileBytes(hand + L"uninstall_l.avl", sampleLanguageFile()));
  const std::wstring victim = kRoot + L"victim.txt";
  ASSERT_TRUE(writeFileBytes(victim, "victim"));
  ASSERT_TRUE(writeFileBytes(windowsVictim, "victim"));
  const std::wstring handLink = kRoot + L"HandLink\\";
  const struct {
    std::wstring appFolder, file, runFrom;
  } refused[] = {{L"C:\\", victim, hand},
                 {windowsFolder, windowsVictim, hand},
                 {outside, outside + L"keep.txt", hand},
                 {handLink, handLink + L"keep.txt", hand},
                 {handLink, handLink + L"keep.txt", handLink}};  // started through the link itself
  for (const auto& r : refused) {
    SCOPED_TRACE(utf8(r.appFolder + L" from " + r.runFrom));
    fs::copy_file(buildFolder() + L"\\AverluneUninstall.exe", hand + L"uninstall.exe",
                  fs::copy_options::overwrite_existing);
    ExpectedLog handLog;
    handLog.header(L"Hand", L"1", L"", r.appFolder, 1).file(r.file);
    ASSERT_TRUE(writeFileBytes(hand + L"uninstall.dat", handLog.bytes));
    TestProcess process(CommandLine{L"\"" + r.runFrom + L"uninstall.exe\"", temporaryFolder()});
    const auto error = nextBox(process.id());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->text, L"Uninstall error!");
    ASSERT_TRUE(pressMessageBoxButtonById(error->handle, IDOK));
    ASSERT_TRUE(process.waitForExit(kExitMs));
    EXPECT_EQ(runSilently(CommandLine{L"\"" + r.runFrom + L"uninstall.exe\" /S", temporaryFolder()}), 1603);
    EXPECT_TRUE(fileExists(r.file));
    EXPECT_TRUE(fileExists(hand + L"uninstall.dat"));
  }
}

// The uninstall entry, which only administrators can write, holds the log's digest: a log that
// differs from it is refused whole, whatever was changed; the setup's own log removes everything
// it lists, on the desktop, in the start menu and in the registry. The command that removes the
// uninstaller afterwards waits with the system's ping, never a "ping.bat" in the drive's root.
TEST(Uninstall, AnEditedLogIsRefusedWholeAndTheSetupsOwnLogRemovesEverything) {
  const std::wstring desktop = shellFolder(CSIDL_DESKTOPDIRECTORY);
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  const std::wstring startup = shellFolder(CSIDL_STARTUP);
  ASSERT_FALSE(desktop.empty() || programs.empty() || startup.empty());
  Probe probe{L"Digest Probe", kRoot + L"Digest Probe\\"};
  const std::wstring link = desktop + L"Digest Probe.lnk";
  const std::wstring startMenuFolder = programs + L"Digest Probe\\";
  const std::wstring desktopVictim = desktop + L"AvE2U notes.txt";
  const std::wstring startupLink = startup + L"AvE2U guard.lnk";
  const std::wstring pingBatch = L"C:\\ping.bat";
  const std::wstring pingRan = kRoot + L"ping-ran.txt";
  Cleanup cleanup({[] { removeTree(kRoot); }, [&] { removeTree(link); }, [&] { removeTree(startMenuFolder); },
                   [&] { removeTree(desktopVictim); }, [&] { removeTree(startupLink); }, [&] { removeTree(pingBatch); },
                   [] { deleteRegistryTree(HKEY_CURRENT_USER, kRegistryTestKey); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)); }});
  probe.script = {"Desktopicon = 1", "Allow_Desktopicons = 1", "StartMenuFolder = 1", "Allow_StartMenuFolder = 1",
                  "ShortcutFolder = <appname>\\", "Registry = 1"};
  const std::string shortcut = "<installpath>\\a.txt\r\nDigest Probe\r\n\r\n";
  probe.files = {{"Desktop.dat", shortcut}, {"Startmenu.dat", shortcut},
                 {"Registry.dat", "HKEY_CURRENT_USER\r\nSoftware/AverluneE2E/Digest\r\nFlagged\r\n1\r\n" +
                                      std::string("\x01\0\0\0", 4)}};
  probe.onPage = [](WizardSession& w, ControlId page) {
    if (page != I::tasksPanel) return;
    for (ControlId box : {I::desktopIconCheckBox, I::startMenuCheckBox}) {
      if (SendMessageW(w.control(box), BM_GETCHECK, 0, 0) != BST_CHECKED) SendMessageW(w.control(box), BM_CLICK, 0, 0);
    }
  };
  ASSERT_TRUE(probe.install(L"uninstall-digest"));
  expectLogDigest(probe.name, probe.log());
  ASSERT_TRUE(writeFileBytes(desktopVictim, "mine"));
  ASSERT_TRUE(writeFileBytes(startupLink, "a link that runs at logon"));
  ASSERT_TRUE(writeRegistryValue(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Victim", L"Stay", REG_SZ,
                                 registryTextBytes(L"1")));
  ASSERT_TRUE(makeFolderLink(kRoot + L"Alias", kRoot + L"Digest Probe"));

  // The machine as the installation left it, and the user's things beside it.
  const std::vector<std::wstring> installed = folderEntries(probe.appFolder);
  ASSERT_EQ(installed, (std::vector<std::wstring>{L"a.txt", L"b.txt", L"uninstall.dat", L"uninstall.exe",
                                                  L"uninstall_l.avl"}));
  const std::vector<std::wstring> files = {link, startMenuFolder + L"Digest Probe.lnk", desktopVictim, startupLink};
  const std::vector<std::pair<std::wstring, std::wstring>> values = {
      {L"Software\\AverluneE2E\\Digest", L"Flagged"}, {L"Software\\AverluneE2E\\Victim", L"Stay"}};
  auto expectAsInstalled = [&] {
    EXPECT_EQ(folderEntries(probe.appFolder), installed);
    for (const std::wstring& file : files) EXPECT_TRUE(fileExists(file)) << utf8(file);
    for (const auto& [key, name] : values) EXPECT_TRUE(readRegistryText(HKEY_CURRENT_USER, key, name)) << utf8(key);
    EXPECT_TRUE(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name), L"LogDigest"));
  };

  const std::string honest = readFileBytes(probe.log()).value_or("");
  ExpectedLog desktopFile, otherValue, startupFolder;
  desktopFile.file(desktopVictim);
  otherValue.value(L"HKEY_CURRENT_USER", L"Software\\AverluneE2E\\Victim\\", L"Stay");
  startupFolder.folder(startup);
  const struct {
    const char* edit;
    std::string log;
  } edited[] = {
      {"a file on the desktop", honest + desktopFile.bytes},
      {"another product's value", honest + otherValue.bytes},
      {"the Startup folder", honest + startupFolder.bytes},
      {"the header's folder a link to the uninstaller's own",
       replaced(honest, utf8(probe.appFolder), utf8(kRoot + L"Alias\\"))},
  };
  for (const auto& e : edited) {
    SCOPED_TRACE(e.edit);
    ASSERT_NE(e.log, honest);
    ASSERT_TRUE(writeFileBytes(probe.log(), e.log));
    EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 1603);
    ASSERT_TRUE(writeFileBytes(probe.log(), honest));
    expectAsInstalled();
  }

  // The honest log. The uninstaller file is held for a while, sharing its deletion as a virus
  // scanner does: the uninstaller moves it all the same, and the command that deletes it waits.
  ASSERT_TRUE(writeFileBytes(pingBatch, "@echo ran> \"" + utf8(pingRan) + "\"\r\n"));
  {
    const HANDLE held = CreateFileW((probe.appFolder + L"uninstall.exe").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 0);
    Sleep(4000);
    CloseHandle(held);
  }
  EXPECT_TRUE(waitUntilGone(probe.appFolder));
  EXPECT_FALSE(fileExists(pingRan)) << "the command ran ping.bat from the drive's root";
  EXPECT_FALSE(fileExists(link));
  EXPECT_FALSE(folderExists(startMenuFolder));
  EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Digest"));
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)));
  EXPECT_TRUE(fileExists(desktopVictim));
  EXPECT_TRUE(fileExists(startupLink));
  EXPECT_TRUE(readRegistryText(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Victim", L"Stay"));
}

// The voucher is the uninstall entry that names the uninstaller, never the one a log's header
// names: a header turned to another product's entry, which holds no digest, does not bring the
// older rules back to delete that entry. The language copy is checked against its own digest.
TEST(Uninstall, TheEntryThatNamesTheUninstallerVouchesForTheLogAndItsLanguageCopy) {
  Probe probe{L"Voucher Probe", kRoot + L"Voucher Probe\\"};
  const std::wstring other = L"AvE2U Other Product";
  Cleanup cleanup({[] { removeTree(kRoot); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(other)); }});
  ASSERT_TRUE(probe.install(L"uninstall-voucher"));
  const std::wstring language = probe.appFolder + L"uninstall_l.avl";
  EXPECT_EQ(readRegistryText(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name), L"LanguageDigest").value_or(L"<missing>"),
            logDigestOf(readFileBytes(language).value_or("")));
  ASSERT_TRUE(writeRegistryValue(HKEY_LOCAL_MACHINE, uninstallKeyOf(other), L"UninstallString", REG_SZ,
                                 registryTextBytes(L"\"C:\\Other\\uninstall.exe\"")));
  const std::vector<std::wstring> installed = folderEntries(probe.appFolder);

  const std::string honest = readFileBytes(probe.log()).value_or("");
  ExpectedLog otherKey;
  otherKey.uninstallKey(other);
  // The header's first line, after the 4-byte mark, is the application's name.
  ASSERT_EQ(honest.substr(4, utf8(probe.name).size() + 2), utf8(probe.name) + "\r\n");
  const std::string turned = honest.substr(0, 4) + utf8(other) + honest.substr(4 + utf8(probe.name).size());
  ASSERT_TRUE(writeFileBytes(probe.log(), turned + otherKey.bytes));
  EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 1603);
  EXPECT_TRUE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(other)));
  EXPECT_EQ(folderEntries(probe.appFolder), installed);
  ASSERT_TRUE(writeFileBytes(probe.log(), honest));

  // A language copy that is not the setup's is never read: its question could say anything.
  const std::string copy = readFileBytes(language).value_or("");
  ASSERT_TRUE(writeFileBytes(language, replaced(copy, "Do you want to remove", "Click Yes to keep")));
  {
    TestProcess process(registeredCommand(probe.name));
    const auto error = nextBox(process.id());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->text, L"Uninstall error!");
    ASSERT_TRUE(pressMessageBoxButtonById(error->handle, IDOK));
    ASSERT_TRUE(process.waitForExit(kExitMs));
  }
  EXPECT_EQ(folderEntries(probe.appFolder), installed);
  ASSERT_TRUE(writeFileBytes(language, copy));

  EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 0);
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)));
  EXPECT_TRUE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(other)));
  EXPECT_TRUE(waitUntilGone(probe.appFolder));
}

// A start menu group named like one of Windows' ("Games\Tool") is the setup's own: it goes with
// its links, and the closing message claims success only because nothing is left.
TEST(Uninstall, AStartMenuGroupNamedLikeAWindowsGroupGoesWithItsLinks) {
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  const std::wstring games = programs + L"Games\\";
  const bool gamesWasThere = folderExists(games);
  const std::wstring group = games + L"Group Probe\\";
  Probe probe{L"Group Probe", kRoot + L"Group Probe\\"};
  Cleanup cleanup({[] { removeTree(kRoot); }, [&] { removeTree(group); },
                   [&] { if (!gamesWasThere) removeTree(games); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)); }});
  probe.script = {"StartMenuFolder = 1", "Allow_StartMenuFolder = 1", "ShortcutFolder = Games\\<appname>\\"};
  probe.files = {{"Startmenu.dat", "<installpath>\\a.txt\r\nProbe A\r\n\r\n"}};
  probe.onPage = tickStartMenuBox;
  ASSERT_TRUE(probe.install(L"uninstall-games-group"));
  ASSERT_TRUE(fileExists(group + L"Probe A.lnk"));

  TestProcess process(registeredCommand(probe.name));
  const auto message = closingMessageAfterYes(process.id());
  ASSERT_TRUE(message);
  EXPECT_EQ(message->text, L"Group Probe was successfully removed from your computer!");
  ASSERT_TRUE(pressMessageBoxButtonById(message->handle, IDOK));
  ASSERT_TRUE(process.waitForExit(kExitMs));
  EXPECT_FALSE(fileExists(group + L"Probe A.lnk"));
  EXPECT_FALSE(folderExists(group));
  EXPECT_TRUE(waitUntilGone(probe.appFolder));
}

// ---------------------------------------------------------------------------------------------
// Silent removal and the batch, for every folder name

TEST(Uninstall, SilentRemovalLeavesNothingWhateverTheFolderIsNamed) {
  // "ü" and "%" in the OEM code page; CJK outside it (handed to the batch another way).
  const std::wstring names[] = {L"Gr\u00fc\u00dfe 100%", L"\u4e2d\u6587 Probe"};
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  Cleanup cleanup({[] { removeTree(kRoot); }, [&] { removeTree(programs + L"Quiet Probe"); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(L"Quiet Probe")); }});
  for (const std::wstring& name : names) {
    SCOPED_TRACE(utf8(name));
    Probe probe{L"Quiet Probe", kRoot + name + L"\\"};
    // Folders nested in the archive, the outer one first: both go.
    probe.payload = {{"lib/", "", 0x10}, {"lib/sub/", "", 0x10}, {"lib/sub/x.dll", "x"}, {"a.txt", "a"}};
    probe.script = {"StartMenuFolder = 1", "Allow_StartMenuFolder = 1", "ShortcutFolder = <appname>\\"};
    probe.files = {{"Startmenu.dat", "<installpath>\\a.txt\r\nQuiet\r\n\r\n"}};
    probe.onPage = tickStartMenuBox;
    ASSERT_TRUE(probe.install(L"uninstall-quiet"));
    ASSERT_TRUE(fileExists(programs + L"Quiet Probe\\Quiet.lnk"));
    ASSERT_TRUE(fileExists(probe.appFolder + L"lib\\sub\\x.dll"));

    EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 0);
    EXPECT_FALSE(folderExists(programs + L"Quiet Probe"));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)));
    EXPECT_TRUE(waitUntilGone(probe.appFolder));
  }
}

// The uninstaller's last step. A standard user who may rename the application folder keeps the
// uninstaller's file open until the uninstaller has ended, then puts a link to another folder in
// the folder's place: nothing is deleted through it, however long he waits to let the file go.
TEST(Uninstall, NothingIsDeletedThroughTheApplicationFolderAfterTheUninstallerHasEnded) {
  Probe probe{L"Swap Probe", kRoot + L"Swap Probe\\"};
  const std::wstring elsewhere = kRoot + L"Elsewhere\\";
  const std::wstring renamed = kRoot + L"Renamed\\";
  Cleanup cleanup({[] { removeTree(kRoot); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)); }});
  ASSERT_TRUE(probe.install(L"uninstall-swap"));
  fs::create_directories(elsewhere);
  ASSERT_TRUE(writeFileBytes(elsewhere + L"uninstall.exe", "another program's"));
  const std::wstring appFolder = probe.appFolder.substr(0, probe.appFolder.size() - 1);
  {
    // Shared for reading only: the uninstaller can run from it, nobody can delete or move it.
    const HANDLE held = CreateFileW((probe.appFolder + L"uninstall.exe").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 0);
    const bool swapped = MoveFileW(appFolder.c_str(), renamed.substr(0, renamed.size() - 1).c_str()) &&
                         makeFolderLink(appFolder, elsewhere.substr(0, elsewhere.size() - 1));
    CloseHandle(held);
    ASSERT_TRUE(swapped);
  }
  Sleep(5000);  // what was left to run after the uninstaller tried again every second
  EXPECT_EQ(readFileBytes(elsewhere + L"uninstall.exe").value_or("<gone>"), "another program's");
  // The uninstaller it could not move stays in the folder, as the user kept it.
  EXPECT_EQ(folderEntries(renamed), std::vector<std::wstring>{L"uninstall.exe"});
}

// ---------------------------------------------------------------------------------------------
// What could not be removed

TEST(Uninstall, AFileInUseIsNamedInTheMessageAndSilentlyWaitsForTheRestart) {
  Probe probe{L"Busy Probe", kRoot + L"Busy Probe\\"};
  Cleanup cleanup({[] { removeTree(kRoot); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)); }});
  ASSERT_TRUE(probe.install(L"uninstall-busy"));
  {
    HeldFile held(probe.appFolder + L"b.txt");
    ASSERT_TRUE(held.held());
    TestProcess process(registeredCommand(probe.name));
    const auto message = closingMessageAfterYes(process.id());
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, L"Busy Probe could not be removed completely from your computer.\n\n"
                             L"These items could not be removed (1):\n" + probe.appFolder + L"b.txt");
    saveScreenshot(message->handle, screenshotPath(L"uninstall-items-left"));
    ASSERT_TRUE(pressMessageBoxButtonById(message->handle, IDOK));
    DWORD exitCode = 99;
    ASSERT_TRUE(process.waitForExit(kExitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(waitUntilGone(probe.appFolder + L"uninstall.exe"));
    EXPECT_EQ(folderEntries(probe.appFolder), std::vector<std::wstring>{L"b.txt"});
  }

  // Silently, the file's deletion and then the folder's wait for the next restart, and the code says
  // so; the restart leaves nothing.
  removeTree(probe.appFolder);
  ASSERT_TRUE(probe.install(L"uninstall-busy"));
  {
    HeldFile held(probe.appFolder + L"b.txt");
    ASSERT_TRUE(held.held());
    EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 3010);
  }
  EXPECT_FALSE(fileExists(probe.appFolder + L"a.txt"));
  EXPECT_TRUE(waitUntilGone(probe.appFolder + L"uninstall.exe"));
  EXPECT_EQ(folderEntries(probe.appFolder), std::vector<std::wstring>{L"b.txt"});
  const std::wstring folder = probe.appFolder.substr(0, probe.appFolder.size() - 1);
  EXPECT_NE(pendingRenames().find(upperCased(L"\\??\\" + folder + L"\\b.txt||\\??\\" + folder + L"||")),
            std::wstring::npos)
      << utf8(pendingRenames());
  TestProcess restart({L"wineboot.exe --restart", temporaryFolder()});
  ASSERT_TRUE(restart.started());
  EXPECT_TRUE(restart.waitForExit(kExitMs, nullptr));
  EXPECT_FALSE(folderExists(probe.appFolder));
}

TEST(Uninstall, AStartMenuFolderThatWasThereKeepsTheOtherProgramsLinks) {
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  const std::wstring shared = programs + L"Averlune Shared\\";
  Probe probe{L"Shared Probe", kRoot + L"Shared Probe\\"};
  Cleanup cleanup({[] { removeTree(kRoot); }, [&] { removeTree(shared); },
                   [&] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(probe.name)); }});
  fs::create_directories(shared);
  ASSERT_TRUE(writeFileBytes(shared + L"Other Program.lnk", "another program's link"));
  probe.script = {"StartMenuFolder = 1", "Allow_StartMenuFolder = 1", "ChangeStartMenuFolder = 1",
                  "ShortcutFolder = Averlune Shared\\"};
  probe.files = {{"Startmenu.dat", "<installpath>\\a.txt\r\nProbe A\r\n\r\n<installpath>\\b.txt\r\nProbe B\r\n\r\n"}};
  probe.onPage = tickStartMenuBox;
  ASSERT_TRUE(probe.install(L"uninstall-shared"));
  ExpectedLog log;
  log.header(probe.name, L"1", L"", probe.appFolder, 2).file(probe.appFolder + L"a.txt").file(probe.appFolder + L"b.txt");
  log.uninstallKey(probe.name).file(shared + L"Probe A.lnk").file(shared + L"Probe B.lnk");
  const std::string written = readFileBytes(probe.log()).value_or("<missing>");
  EXPECT_EQ(written, log.bytes) << visibleBytes(written) << "\n--- expected ---\n" << visibleBytes(log.bytes);

  EXPECT_EQ(runSilently(registeredCommand(probe.name, L"QuietUninstallString")), 0);
  EXPECT_EQ(folderEntries(shared), std::vector<std::wstring>{L"Other Program.lnk"});
  EXPECT_TRUE(waitUntilGone(probe.appFolder));
}

}  // namespace
}  // namespace averlune::e2e
