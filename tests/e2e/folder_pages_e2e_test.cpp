// The folder pages under Wine: both Browse dialogs of a real setup driven to a pick, a cancel and
// a virtual folder, and the texts the pages then show; the keyboard focus as the pages change.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "tests/e2e/driver/folder_dialog_driver_win.h"
#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/keyboard_driver_win.h"
#include "tests/e2e/driver/window_driver_win.h"
#include "tests/e2e/driver/wizard_session_win.h"
#include "wizard/free_space.h"

namespace averlune::e2e {
namespace {

using I = ControlId;

constexpr int kStepMs = 10000;
constexpr wchar_t kDriveD[] = L"D:\\";  // mapped for the tests to a folder of its own file system

std::wstring wideOf(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// "Available free space: " and the drive's free space as the page formats it.
std::wstring availableSpaceOf(const std::wstring& root) {
  ULARGE_INTEGER available{}, total{}, free{};
  const bool asked = GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free);
  return L"Available free space: " + wideOf(freeSpaceText(asked ? free.QuadPart : 0));
}

// Whether the page shows the free space of the drive `root`. The drive is asked before and after
// the label is read, so that free space that moves meanwhile (other programs write to the drive)
// still matches one of the two.
bool showsFreeSpaceOf(const WizardSession& w, const std::wstring& root) {
  const std::wstring before = availableSpaceOf(root);
  const std::wstring shown = w.text(ControlId::availableSpaceLabel);
  const bool shows = shown == before || shown == availableSpaceOf(root);
  EXPECT_TRUE(shows) << std::string(shown.begin(), shown.end()) << " is not the free space of "
                     << std::string(root.begin(), root.end());
  return shows;
}

// Whether the whole text of an edit field of the page is selected.
bool selectsAll(const WizardSession& w, ControlId field) {
  const DWORD selection = static_cast<DWORD>(SendMessageW(w.control(field), EM_GETSEL, 0, 0));
  return LOWORD(selection) == 0 && HIWORD(selection) == w.text(field).size();
}

bool press(const WizardSession& w, ControlId id) { return PostMessageW(w.control(id), BM_CLICK, 0, 0) != FALSE; }

// Opens a folder page's dialog with its Browse button, checks its title and saves a picture.
HWND openDialog(const WizardSession& w, ControlId browseButton, const std::wstring& title, const std::wstring& shot) {
  if (!press(w, browseButton)) return nullptr;
  const HWND dialog = waitForFolderDialog(w.processId(), kStepMs);
  if (!dialog) return nullptr;
  EXPECT_EQ(folderDialogTitleText(dialog), title);
  if (!shot.empty()) {
    Sleep(500);  // the tree fills after the dialog shows
    saveScreenshot(dialog, screenshotPath(shot));
  }
  return dialog;
}

// Closes a folder dialog with `button` (OK or Cancel) and waits until it is gone.
bool closeDialog(HWND dialog, const std::wstring& button) {
  if (!clickButton(dialog, button)) return false;
  for (int waited = 0; waited < kStepMs; waited += 50) {
    if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return true;
    Sleep(50);
  }
  return false;
}

// Picks `folder` (or, with `csidl` >= 0, that special folder) in the dialog that `browseButton`
// opens and confirms with OK.
bool pick(const WizardSession& w, ControlId browseButton, const std::wstring& title, const std::wstring& folder,
          int csidl = -1) {
  const HWND dialog = openDialog(w, browseButton, title, L"");
  if (!dialog) return false;
  const bool selected = csidl >= 0 ? selectSpecialFolderInDialog(dialog, csidl) : selectFolderInDialog(dialog, folder);
  Sleep(300);
  return selected && closeDialog(dialog, L"OK");
}

std::vector<std::string> scriptWith(const std::string& company) {
  return {"Appname = Tool", "Version = 1", "Languages = 1", "InstallDir = <programfiles>\\<appname>\\",
          "ShortcutFolder = <appname>\\", "TotalSize = 1 MB", "ChangeApplicationFolder = 1",
          "StartMenuFolder = 1", "Allow_StartMenuFolder = 1", "ChangeStartMenuFolder = 1", "Company = " + company};
}

bool cancelSetup(WizardSession& w) {
  if (!press(w, I::cancelButton)) return false;
  const auto box = waitForMessageBox(w.processId(), kStepMs);
  return box && pressMessageBoxButton(*box, L"OK") && w.endsCleanly();
}

TEST(FolderPages, ApplicationFolderBrowseStartsAtProgramFilesEveryTimeAndComposesThePick) {
  const std::wstring programFiles = environmentText(L"ProgramFiles");
  const Cleanup cleanup({[] { removeTree(L"D:\\Apps"); }});
  ASSERT_TRUE(CreateDirectoryW(L"D:\\Apps", nullptr)) << "drive D: is not mapped in the test prefix";
  WizardSession w(buildSetupWithConfig(L"folder-pages-application", setupConfig(scriptWith(""))), L"Tool Setup",
                  L"folder-pages");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(press(w, I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::appFolderPanel, kStepMs));
  EXPECT_EQ(w.text(I::appFolderField), programFiles + L"\\Tool\\");
  showsFreeSpaceOf(w, programFiles.substr(0, 3));
  const std::wstring startSpace = w.text(I::availableSpaceLabel);

  // The field has the focus with its text selected, so typing a new path replaces it; the free
  // space shown stays that of the starting folder.
  ASSERT_EQ(focusedWindow(w.control(I::appFolderField)), w.control(I::appFolderField));
  EXPECT_TRUE(selectsAll(w, I::appFolderField));
  ASSERT_TRUE(typeText(w.control(I::appFolderField), L"D:\\Typed"));
  EXPECT_EQ(w.text(I::appFolderField), L"D:\\Typed");
  EXPECT_EQ(w.text(I::availableSpaceLabel), startSpace);

  // The dialog opens at Program Files: OK right away picks it.
  HWND dialog = openDialog(w, I::appFolderBrowseButton, L"Select Application Folder:", L"folder-pages-dialog-application");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(closeDialog(dialog, L"OK"));
  EXPECT_EQ(w.text(I::appFolderField), programFiles + L"\\Tool");

  ASSERT_TRUE(pick(w, I::appFolderBrowseButton, L"Select Application Folder:", L"D:\\Apps"));
  EXPECT_EQ(w.text(I::appFolderField), L"D:\\Apps\\Tool");
  showsFreeSpaceOf(w, kDriveD);
  const std::wstring driveDSpace = w.text(I::availableSpaceLabel);
  EXPECT_NE(driveDSpace, startSpace) << "D: should be mapped to a file system of its own";
  w.screenshot(L"application-folder-after-pick");

  ASSERT_TRUE(pick(w, I::appFolderBrowseButton, L"Select Application Folder:", kDriveD));
  EXPECT_EQ(w.text(I::appFolderField), L"D:\\Tool");

  // An earlier pick does not move where the dialog opens.
  dialog = openDialog(w, I::appFolderBrowseButton, L"Select Application Folder:", L"");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(closeDialog(dialog, L"OK"));
  EXPECT_EQ(w.text(I::appFolderField), programFiles + L"\\Tool");
  showsFreeSpaceOf(w, programFiles.substr(0, 3));

  // A virtual folder (the computer itself) and a cancelled dialog change nothing.
  ASSERT_TRUE(pick(w, I::appFolderBrowseButton, L"Select Application Folder:", kDriveD));
  ASSERT_TRUE(pick(w, I::appFolderBrowseButton, L"Select Application Folder:", L"", CSIDL_DRIVES));
  EXPECT_EQ(w.text(I::appFolderField), L"D:\\Tool");
  EXPECT_EQ(w.text(I::availableSpaceLabel), driveDSpace);
  dialog = openDialog(w, I::appFolderBrowseButton, L"Select Application Folder:", L"");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(selectFolderInDialog(dialog, L"D:\\Apps"));
  ASSERT_TRUE(closeDialog(dialog, L"Cancel"));
  EXPECT_EQ(w.text(I::appFolderField), L"D:\\Tool");
  EXPECT_EQ(w.text(I::availableSpaceLabel), driveDSpace);

  EXPECT_TRUE(cancelSetup(w));
}

TEST(FolderPages, CompanyGoesBetweenThePickAndAppnameOnBothPages) {
  const std::wstring programs = shellFolder(CSIDL_PROGRAMS);
  const Cleanup cleanup({[] { removeTree(L"D:\\Apps"); }, [programs] { removeTree(programs + L"Games"); }});
  ASSERT_TRUE(CreateDirectoryW(L"D:\\Apps", nullptr)) << "drive D: is not mapped in the test prefix";
  ASSERT_TRUE(CreateDirectoryW((programs + L"Games").c_str(), nullptr));
  WizardSession w(buildSetupWithConfig(L"folder-pages-company", setupConfig(scriptWith("Acme"))), L"Tool Setup",
                  L"folder-pages-company");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(press(w, I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::appFolderPanel, kStepMs));
  ASSERT_TRUE(pick(w, I::appFolderBrowseButton, L"Select Application Folder:", L"D:\\Apps"));
  EXPECT_EQ(w.text(I::appFolderField), L"D:\\Apps\\Acme\\Tool");

  ASSERT_TRUE(press(w, I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::tasksPanel, kStepMs));
  ASSERT_TRUE(press(w, I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::startMenuPanel, kStepMs));
  EXPECT_EQ(w.text(I::startMenuFolderField), L"Tool\\");

  // The start menu dialog is rooted at the Programs folder; picking that folder itself keeps
  // nothing of its path.
  HWND dialog = openDialog(w, I::startMenuBrowseButton, L"Select Start Menu Folder:", L"folder-pages-dialog-start-menu");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(selectFolderInDialog(dialog, programs.substr(0, programs.size() - 1)));
  Sleep(300);
  ASSERT_TRUE(closeDialog(dialog, L"OK"));
  EXPECT_EQ(w.text(I::startMenuFolderField), L"Acme\\Tool");

  ASSERT_TRUE(pick(w, I::startMenuBrowseButton, L"Select Start Menu Folder:", programs + L"Games"));
  EXPECT_EQ(w.text(I::startMenuFolderField), L"Games\\Acme\\Tool");
  w.screenshot(L"start-menu-folder-after-pick");

  dialog = openDialog(w, I::startMenuBrowseButton, L"Select Start Menu Folder:", L"");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(closeDialog(dialog, L"Cancel"));
  EXPECT_EQ(w.text(I::startMenuFolderField), L"Games\\Acme\\Tool");

  EXPECT_TRUE(cancelSetup(w));
}

// Seen before the focus followed the pages: Enter in the application folder field went on to the
// next page and left the focus in the hidden field, so typing changed the installation path.
TEST(FolderPages, KeystrokesNeverReachAControlOfAHiddenPage) {
  const std::wstring programFiles = environmentText(L"ProgramFiles");
  const Cleanup cleanup({[programFiles] { removeTree(programFiles + L"\\Tool"); },
                         [programFiles] { removeTree(programFiles + L"\\Toolzzz"); },
                         [] { removeTree(shellFolder(CSIDL_PROGRAMS) + L"Tool"); }});
  std::vector<std::string> script = scriptWith("");
  script.insert(script.end(), {"Desktopicon = 1", "Allow_Desktopicons = 1", "Uninstaller = 0"});
  WizardSession w(buildSetupWithConfig(L"folder-pages-keyboard", setupConfig(script)), L"Tool Setup",
                  L"folder-pages-keyboard");
  ASSERT_TRUE(w.started());
  const HWND window = w.control(I::nextButton);
  EXPECT_EQ(focusedWindow(window), w.control(I::nextButton));

  // Esc asks the exit question, as Cancel does.
  ASSERT_TRUE(pressKey(window, VK_ESCAPE));
  auto box = waitForMessageBox(w.processId(), kStepMs);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"Exit Setup");
  ASSERT_TRUE(pressMessageBoxButton(*box, L"Cancel"));
  for (int waited = 0; waited < kStepMs && IsWindow(box->handle); waited += 50) Sleep(50);
  Sleep(100);
  EXPECT_EQ(focusedWindow(window), w.control(I::nextButton));

  ASSERT_TRUE(pressKey(window, VK_RETURN));
  ASSERT_TRUE(w.waitForPage(I::appFolderPanel, kStepMs));
  EXPECT_EQ(focusedWindow(window), w.control(I::appFolderField));
  ASSERT_TRUE(pressKey(window, VK_RETURN));  // Enter in the field presses Next
  ASSERT_TRUE(w.waitForPage(I::tasksPanel, kStepMs));
  ASSERT_TRUE(typeText(window, L"zzz"));
  EXPECT_EQ(w.text(I::appFolderField), programFiles + L"\\Tool\\");
  EXPECT_EQ(focusedWindow(window), w.control(I::desktopIconCheckBox));

  // Space works on the page shown, and on that page only.
  ASSERT_TRUE(pressKey(window, VK_SPACE));
  EXPECT_FALSE(SendMessageW(w.control(I::desktopIconCheckBox), BM_GETCHECK, 0, 0) == BST_CHECKED);
  ASSERT_TRUE(pressKey(window, VK_SPACE));
  EXPECT_TRUE(SendMessageW(w.control(I::desktopIconCheckBox), BM_GETCHECK, 0, 0) == BST_CHECKED);
  ASSERT_TRUE(press(w, I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::startMenuPanel, kStepMs));
  EXPECT_EQ(focusedWindow(window), w.control(I::startMenuFolderField));
  EXPECT_TRUE(selectsAll(w, I::startMenuFolderField));
  ASSERT_TRUE(pressKey(window, VK_END));
  ASSERT_TRUE(pressKey(window, VK_SPACE));
  EXPECT_TRUE(SendMessageW(w.control(I::desktopIconCheckBox), BM_GETCHECK, 0, 0) == BST_CHECKED);
  EXPECT_TRUE(SendMessageW(w.control(I::startMenuCheckBox), BM_GETCHECK, 0, 0) == BST_CHECKED);
  EXPECT_EQ(w.text(I::startMenuFolderField), L"Tool\\ ");
  w.screenshot(L"start-menu-folder-after-keys");
  ASSERT_TRUE(pressKey(window, VK_BACK));
  EXPECT_EQ(w.text(I::startMenuFolderField), L"Tool\\");

  // The run installs where the field said, and the finish page takes the keys next.
  ASSERT_TRUE(press(w, I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::finishPanel, 60000));
  EXPECT_EQ(focusedWindow(window), w.control(I::nextButton));
  EXPECT_TRUE(fileFacts(programFiles + L"\\Tool").exists);
  EXPECT_FALSE(fileFacts(programFiles + L"\\Toolzzz").exists);
  EXPECT_FALSE(fileFacts(programFiles + L"\\Tool\\zzz").exists);
  ASSERT_TRUE(pressKey(window, VK_RETURN));  // Enter presses Finish
  EXPECT_TRUE(w.endsCleanly());
}

}  // namespace
}  // namespace averlune::e2e
