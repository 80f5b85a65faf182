// The language dialog under Wine: what it shows and in which language, its list and its two
// buttons, the ways it refuses to close, and what the chosen language becomes.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/setup_fixture_win.h"
#include "tests/e2e/driver/window_driver_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;
using I = ControlId;

constexpr int kStartMs = 30000;
constexpr int kStepMs = 10000;
constexpr int kExitMs = 15000;
constexpr wchar_t kDialogClass[] = L"AverluneLanguageDialog";

// A German language file, in ISO-8859-1 like most language files, whose texts tell it apart.
const std::string kGermanFile =
    "[Main]\r\nTitle = <appname> Einrichtung\r\n"
    "[Gadgets]\r\nNextBtn = Weiter >\r\nCancelBtn = Abbrechen\r\nBackBtn = < Zur\xFC" "ck\r\nFinishBtn = Fertigstellen\r\n"
    "[Start]\r\nTitle = Willkommen bei <appname>\r\n";

// The dialog's controls in creation order: icon, prompt, list, OK, Cancel.
struct DialogControls {
  HWND window = nullptr;
  std::vector<ControlInfo> all;
  const ControlInfo& icon() const { return all.at(0); }
  const ControlInfo& prompt() const { return all.at(1); }
  const ControlInfo& list() const { return all.at(2); }
  const ControlInfo& ok() const { return all.at(3); }
  const ControlInfo& cancel() const { return all.at(4); }
};

DialogControls waitForDialog(DWORD processId) {
  DialogControls dialog;
  dialog.window = waitForWindowOfClass(processId, kDialogClass, kStartMs);
  if (!dialog.window) return dialog;
  Sleep(300);  // let it paint before anyone looks
  dialog.all = controlsOf(dialog.window);
  return dialog;
}

void expectPlace(const ControlInfo& control, int x, int y, int width, int height) {
  SCOPED_TRACE(testing::Message() << "control \"" << fs::path(control.text).string() << "\"");
  EXPECT_EQ(control.rect.left, x);
  EXPECT_EQ(control.rect.top, y);
  EXPECT_EQ(control.rect.right - control.rect.left, width);
  if (height) {
    EXPECT_EQ(control.rect.bottom - control.rect.top, height);
  }
}

// Every way to close a window but its buttons: the close command, a close request, Alt+F4 in the
// focused list. None may close it or ask anything.
void tryToCloseWithoutButtons(DWORD processId, const DialogControls& dialog) {
  closeWindow(dialog.window);
  PostMessageW(dialog.window, WM_CLOSE, 0, 0);
  PostMessageW(dialog.list().handle, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
  PostMessageW(dialog.list().handle, WM_SYSKEYUP, VK_F4, 1 | (1 << 29) | (3u << 30));
  Sleep(700);
  EXPECT_TRUE(IsWindowVisible(dialog.window));
  EXPECT_FALSE(waitForMessageBox(processId, 0)) << "closing the dialog asked something";
}

std::wstring newWorkFolder(const std::set<std::wstring>& before) {
  for (const std::wstring& name : workFoldersInTemp()) {
    if (!before.count(name)) return temporaryFolder() + name + L"\\";
  }
  return L"";
}

TEST(LanguageDialog, ListsTheLanguagesInOrderAndInstallsAndRecordsTheChosenOne) {
  const std::wstring appFolder = L"C:\\AvE2E\\Language Probe\\";
  Cleanup cleanup({[] { removeTree(L"C:\\AvE2E"); },
                   [] { deleteRegistryTree(HKEY_CURRENT_USER, L"Software\\AverluneE2E"); },
                   [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(L"Language Probe")); }});
  const std::wstring archive = scratchFolder(L"language-two") + L"\\payload.zip";
  ASSERT_TRUE(writePayloadZip(archive, {{"tool.txt", "tool"}}));
  // The second name ends in a space, and so does its file's name before ".avl". Default.avl is
  // there too and must not be used.
  const std::wstring setup = buildSetupWithPayload(
      L"language-two",
      setupConfig({"Appname = Language Probe", "Version = 1", "Languages = 2", "InstallDir = " + fs::path(appFolder).string(),
                   "Uninstaller = 1", "UninstallerFilename = uninstall", "Registry = 1"},
                  {{"languages.dat", "English\r\nDeutsch \r\n"},
                   {"English.avl", sampleLanguageFile()},
                   {"Deutsch .avl", kGermanFile},
                   {"Registry.dat", registryList({{"HKEY_CURRENT_USER", "Software/AverluneE2E/Language", "Chosen", "<language>", 0}})}}),
      archive);
  ASSERT_FALSE(setup.empty());

  HWND dialogWindow = nullptr;
  WizardSession w(setup, L"Language Probe Einrichtung", L"language-two", [&](DWORD processId) {
    const DialogControls dialog = waitForDialog(processId);
    ASSERT_NE(dialog.window, nullptr);
    dialogWindow = dialog.window;
    saveScreenshot(dialog.window, screenshotPath(L"language-dialog"));
    EXPECT_EQ(windowText(dialog.window), L"Language selection");
    const LONG_PTR style = GetWindowLongPtrW(dialog.window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    RECT client{};
    GetClientRect(dialog.window, &client);
    EXPECT_EQ(client.right, 301);
    EXPECT_EQ(client.bottom, 128);
    RECT frame{};
    GetWindowRect(dialog.window, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    ASSERT_EQ(dialog.all.size(), 5u);
    EXPECT_EQ(dialog.icon().className, L"Static");
    EXPECT_EQ(GetWindowLongPtrW(dialog.icon().handle, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(SendMessageW(dialog.icon().handle, STM_GETICON, 0, 0), 0);
    expectPlace(dialog.icon(), 5, 10, 32, 32);
    EXPECT_EQ(dialog.prompt().text, L"Please select a language for the installation process.");
    expectPlace(dialog.prompt(), 55, 10, 240, 35);
    EXPECT_EQ(dialog.list().className, L"ComboBox");
    EXPECT_EQ(GetWindowLongPtrW(dialog.list().handle, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    expectPlace(dialog.list(), 55, 55, 235, 0);  // its height is the system's, from the font
    EXPECT_EQ(comboEntries(dialog.list().handle), (std::vector<std::wstring>{L"English", L"Deutsch "}));
    EXPECT_EQ(comboSelection(dialog.list().handle), 0);
    EXPECT_EQ(dialog.ok().text, L"OK");
    EXPECT_EQ(GetWindowLongPtrW(dialog.ok().handle, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    expectPlace(dialog.ok(), 130, 95, 75, 25);
    EXPECT_EQ(dialog.cancel().text, L"Cancel");
    expectPlace(dialog.cancel(), 215, 95, 75, 25);
    EXPECT_FALSE(waitForWindow(processId, L"Language Probe Setup", 0)) << "a wizard before a language";

    // Dropped down, the list has room for its entries.
    SendMessageW(dialog.list().handle, CB_SHOWDROPDOWN, TRUE, 0);
    Sleep(300);
    const HWND dropped = waitForWindowOfClass(processId, L"ComboLBox", kStepMs);
    ASSERT_NE(dropped, nullptr);
    saveScreenshot(dropped, screenshotPath(L"language-list-dropped"));
    RECT droppedRect{};
    GetWindowRect(dropped, &droppedRect);
    const LRESULT itemHeight = SendMessageW(dialog.list().handle, CB_GETITEMHEIGHT, 0, 0);
    EXPECT_GE(droppedRect.bottom - droppedRect.top, 2 * itemHeight);
    SendMessageW(dialog.list().handle, CB_SHOWDROPDOWN, FALSE, 0);

    tryToCloseWithoutButtons(processId, dialog);
    ASSERT_TRUE(selectComboEntry(dialog.list().handle, 1));
    ASSERT_TRUE(clickControl(dialog.ok()));
  });
  ASSERT_TRUE(w.started()) << "no wizard in the chosen language";
  EXPECT_FALSE(IsWindowVisible(dialogWindow));
  EXPECT_EQ(w.text(I::nextButton), L"Weiter >");
  EXPECT_EQ(w.text(I::cancelButton), L"Abbrechen");
  EXPECT_EQ(w.text(I::welcomeTitle), L"Willkommen bei Language Probe");
  w.screenshot(L"welcome-in-german");

  ASSERT_TRUE(w.nextToInstallingPage());
  ASSERT_TRUE(w.watchInstallation(nullptr));
  EXPECT_TRUE(w.boxes.empty());
  // AV_LANGUAGE, as a registry value expands it, is the chosen line with its space.
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, L"Software\\AverluneE2E\\Language", L"Chosen").value_or(L"<missing>"),
            L"Deutsch ");
  // The uninstaller gets the loaded file.
  EXPECT_EQ(readFileBytes(appFolder + L"uninstall_l.avl").value_or("<missing>"), kGermanFile);
  EXPECT_TRUE(w.finish());
}

TEST(LanguageDialog, AFileThatCannotBeLoadedKeepsTheDialogAndCancelLeavesTheWorkFolder) {
  const std::wstring setup = buildSetupWithConfig(
      L"language-missing-file",
      setupConfig({"Appname = Language Probe", "Languages = 3"},
                  {{"languages.dat", "Missing\r\nEnglish\r\n"}, {"English.avl", sampleLanguageFile()}}));
  ASSERT_FALSE(setup.empty());
  const auto before = workFoldersInTemp();
  TestProcess process(setup);
  const DialogControls dialog = waitForDialog(process.id());
  ASSERT_NE(dialog.window, nullptr);
  ASSERT_EQ(dialog.all.size(), 5u);
  const std::wstring workFolder = newWorkFolder(before);
  ASSERT_FALSE(workFolder.empty());

  // OK on "Missing": the file Missing.avl is not there.
  ASSERT_TRUE(clickControl(dialog.ok()));
  auto box = waitForMessageBox(process.id(), kStepMs);
  ASSERT_TRUE(box);
  saveScreenshot(box->handle, screenshotPath(L"language-file-missing"));
  EXPECT_EQ(box->title, L"Error");
  EXPECT_EQ(box->text, L"Could not load the language file!");
  EXPECT_EQ(plainCaptions(box->buttons), std::vector<std::wstring>{L"OK"});
  EXPECT_TRUE(box->hasErrorIcon);
  pressMessageBoxButton(*box, L"OK");
  Sleep(500);
  EXPECT_TRUE(IsWindowVisible(dialog.window));
  EXPECT_EQ(comboSelection(dialog.list().handle), 0);

  // Cancel asks; Cancel on the question keeps the dialog, OK ends the run.
  for (const wchar_t* answer : {L"Cancel", L"OK"}) {
    ASSERT_TRUE(clickControl(dialog.cancel()));
    box = waitForMessageBox(process.id(), kStepMs);
    ASSERT_TRUE(box);
    saveScreenshot(box->handle, screenshotPath(L"language-abort-question"));
    EXPECT_EQ(box->title, L"Setup");
    EXPECT_EQ(box->text, L"Do you want to abort the installation?");
    EXPECT_EQ(plainCaptions(box->buttons), (std::vector<std::wstring>{L"OK", L"Cancel"}));
    pressMessageBoxButton(*box, answer);
    if (std::wstring(answer) == L"Cancel") {
      Sleep(500);
      EXPECT_TRUE(process.running());
      EXPECT_TRUE(IsWindowVisible(dialog.window));
    }
  }
  DWORD exitCode = 99;
  ASSERT_TRUE(process.waitForExit(kExitMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  // Cancelled before any language: the unpacked configuration stays behind.
  EXPECT_TRUE(fileExists(workFolder + L"languages.dat"));
  removeTree(workFolder);
}

TEST(LanguageDialog, LanguagesZeroWithOneLineStillAsksAndEnterTakesIt) {
  const std::wstring setup = buildSetupWithConfig(
      L"language-one-line",
      setupConfig({"Appname = Single Probe", "Languages = 0"},
                  {{"languages.dat", "English"}, {"English.avl", sampleLanguageFile()}}));
  ASSERT_FALSE(setup.empty());
  TestProcess process(setup);
  const DialogControls dialog = waitForDialog(process.id());
  ASSERT_NE(dialog.window, nullptr);
  ASSERT_EQ(dialog.all.size(), 5u);
  EXPECT_EQ(comboEntries(dialog.list().handle), std::vector<std::wstring>{L"English"});
  EXPECT_EQ(comboSelection(dialog.list().handle), 0);
  // Enter in the list presses OK, the default button.
  PostMessageW(dialog.list().handle, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(dialog.list().handle, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
  const HWND wizard = waitForWindow(process.id(), L"Single Probe Setup", kStartMs);
  ASSERT_NE(wizard, nullptr);
  closeWindow(wizard);
  if (const auto box = waitForMessageBox(process.id(), kExitMs)) pressMessageBoxButton(*box, L"OK");
  EXPECT_TRUE(process.waitForExit(kExitMs));
}

TEST(LanguageDialog, WithoutLanguagesDatTheRunEndsWithSetupErrorAndRemovesTheWorkFolder) {
  const std::wstring setup =
      buildSetupWithConfig(L"language-no-list", setupConfig({"Appname = Language Probe", "Languages = 2"}));
  ASSERT_FALSE(setup.empty());
  const auto before = workFoldersInTemp();
  TestProcess process(setup);
  const auto box = waitForMessageBox(process.id(), kStartMs);
  ASSERT_TRUE(box);
  saveScreenshot(box->handle, screenshotPath(L"language-no-list"));
  EXPECT_EQ(box->title, L"Error");
  EXPECT_EQ(box->text, L"Setup Error!");
  EXPECT_TRUE(box->hasErrorIcon);
  const std::wstring workFolder = newWorkFolder(before);
  pressMessageBoxButton(*box, L"OK");
  DWORD exitCode = 99;
  ASSERT_TRUE(process.waitForExit(kExitMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  ASSERT_FALSE(workFolder.empty());
  EXPECT_FALSE(folderExists(workFolder));
}

// Run by its own test entry, with the user's locale German (Switzerland); skipped elsewhere.
TEST(GermanUser, TheLanguageDialogSpeaksGerman) {
  if (PRIMARYLANGID(GetUserDefaultLangID()) != LANG_GERMAN) GTEST_SKIP() << "needs a German user locale";
  const std::wstring setup = buildSetupWithConfig(
      L"language-german-user",
      setupConfig({"Appname = Language Probe", "Languages = 2"},
                  {{"languages.dat", "English\r\nDeutsch\r\n"}, {"English.avl", sampleLanguageFile()}}));
  ASSERT_FALSE(setup.empty());
  const auto before = workFoldersInTemp();
  TestProcess process(setup);
  const DialogControls dialog = waitForDialog(process.id());
  ASSERT_NE(dialog.window, nullptr);
  ASSERT_EQ(dialog.all.size(), 5u);
  saveScreenshot(dialog.window, screenshotPath(L"language-dialog-german"));
  EXPECT_EQ(windowText(dialog.window), L"Sprachenauswahl");
  EXPECT_EQ(dialog.prompt().text,
            L"Bitte w\u00E4hlen Sie eine Sprache aus, die f\u00FCr den Installationsvorgang benutzt werden soll.");
  EXPECT_EQ(dialog.ok().text, L"OK");
  EXPECT_EQ(dialog.cancel().text, L"Abbrechen");
  ASSERT_TRUE(clickControl(dialog.cancel()));
  const auto box = waitForMessageBox(process.id(), kStepMs);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"Setup");
  EXPECT_EQ(box->text, L"M\u00F6chten Sie das Setup abbrechen?");
  pressMessageBoxButtonById(box->handle, IDOK);
  ASSERT_TRUE(process.waitForExit(kExitMs));
  removeTree(newWorkFolder(before));
}

}  // namespace
}  // namespace averlune::e2e
