// The wizard under Wine: the pages of a real setup, their controls where they belong, the page
// flow with its skip rules, and every way out of the wizard.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/setup_fixture_win.h"
#include "tests/e2e/driver/window_driver_win.h"
#include "tests/e2e/driver/wizard_session_win.h"
#include "wizard/wizard_layout.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;
using I = ControlId;

constexpr int kStepMs = 10000;

std::string readWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The repository, as this source file's folder two levels up, seen through Wine's Z: drive.
fs::path repository() { return fs::path(L"Z:" + fs::path(__FILE__).wstring()).parent_path().parent_path().parent_path(); }

std::vector<ConfigFile> sampleConfig() {
  std::vector<ConfigFile> files;
  for (const auto& entry : fs::directory_iterator(repository() / "sample" / "config")) {
    files.push_back({entry.path().filename().string(), readWholeFile(entry.path())});
  }
  return files;
}

// The build's own separator line picture, a real 497 x 2 JPEG.
std::string builtSeparatorJpeg() {
  const fs::path scratch(AVERLUNE_SCRATCH_DIR);
  return readWholeFile(scratch.parent_path() / "resources" / "wizard_separator.jpg");
}

std::string defaultLanguageFile() { return readWholeFile(repository() / "sample" / "config" / "Default.avl"); }

std::string osList() {
  std::string os;
  for (const char* name : {"Windows 2000", "Windows XP", "Windows Server 2003", "Windows Vista", "Windows Server 2008",
                           "Windows 7", "Windows 8", "Windows Server 2012"}) {
    os += std::string(name) + " = 1\r\n";
  }
  return os;
}

// A single-language setup with the sample's English texts and the given script lines.
std::vector<ConfigFile> configWith(const std::string& scriptLines, const std::string& languageFile = defaultLanguageFile()) {
  return {{"SC.dat", "[Setup]\r\nAppname = Tool\r\nVersion = 2\r\nLanguages = 1\r\nInstallDir = C:\\Tool\\\r\n"
                     "ShortcutFolder = Tool\\\r\nTotalSize = 1.7 MB\r\n" + scriptLines},
          {"OS.dat", osList()},
          {"Default.avl", languageFile}};
}

// Next through the pages really installs (an empty payload): the prefix is left as it was found,
// before the run and after it has ended. Made before the session, so it runs after the setup ended.
Cleanup leavePrefixAsFound() {
  return Cleanup({[] { removeTree(L"C:\\Tool"); },
                  [] { removeTree(shellFolder(CSIDL_PROGRAMS) + L"Tool"); },
                  [] { removeTree(shellFolder(CSIDL_PROGRAM_FILES) + L"Averlune Sample Notes"); },
                  [] { removeTree(shellFolder(CSIDL_PROGRAMS) + L"Averlune Sample Notes"); },
                  [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(L"Averlune Sample Notes")); }});
}

// Whether a picture control has a bitmap to show (the handle is the other process's, but whether
// there is one can be asked from here).
bool showsPicture(const ControlInfo& picture) {
  return SendMessageW(picture.handle, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
}

std::wstring buildSetup(const wchar_t* name, const std::vector<ConfigFile>& config) {
  const std::wstring setup = buildSetupWithConfig(name, config);
  EXPECT_FALSE(setup.empty());
  return setup;
}

TEST(Wizard, SampleWalksEveryPageItShowsAndFinishEndsTheRun) {
  // One payload file that the test holds open: its extraction box keeps the installing page up
  // for as long as the test needs to look at it, however fast the rest installs.
  const std::wstring appFolder = environmentText(L"ProgramFiles") + L"\\Averlune Sample Notes\\";
  const std::wstring archive = scratchFolder(L"wizard-sample") + L"\\payload.zip";
  ASSERT_TRUE(writePayloadZip(archive, {{"Readme.txt", "read me"}}));
  const std::wstring setup = buildSetupWithPayload(L"wizard-sample", sampleConfig(), archive);
  ASSERT_FALSE(setup.empty());
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(setup, L"Averlune Sample Notes Setup", L"wizard");
  ASSERT_TRUE(CreateDirectoryW(appFolder.c_str(), nullptr));
  ASSERT_TRUE(writeFileBytes(appFolder + L"Readme.txt", "in use"));
  HeldFile readme(appFolder + L"Readme.txt");
  ASSERT_TRUE(readme.held());
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.waitForPage(I::welcomePanel, kStepMs));
  EXPECT_EQ(w.info(I::welcomeTitle).text, L"Welcome to the Averlune Sample Notes Setup Wizard");
  EXPECT_NE(w.info(I::welcomeText).text.find(L"Averlune Sample Notes 1.0 on your computer"), std::wstring::npos);
  EXPECT_FALSE(w.visible(I::backButton));
  EXPECT_EQ(w.info(I::nextButton).text, L"Next >");
  EXPECT_TRUE(w.screenshot(L"1-welcome"));

  // Licence = 0 skips the licence page.
  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::appFolderPanel, kStepMs));
  EXPECT_TRUE(w.visible(I::backButton));
  const std::wstring folder = w.info(I::appFolderField).text;
  EXPECT_EQ(folder, environmentText(L"ProgramFiles") + L"\\Averlune Sample Notes\\");
  EXPECT_EQ(w.info(I::requiredSpaceLabel).text, L"Required free space: 0.5 MB");
  const std::wstring available = w.info(I::availableSpaceLabel).text;
  EXPECT_EQ(available.rfind(L"Available free space: ", 0), 0u) << available;
  EXPECT_TRUE(available.size() > 25 && (available.substr(available.size() - 2) == L"MB" ||
                                        available.substr(available.size() - 2) == L"GB"))
      << available;
  EXPECT_TRUE(w.screenshot(L"3-application-folder"));

  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::tasksPanel, kStepMs));
  const ControlInfo desktop = w.info(I::desktopIconCheckBox);
  const ControlInfo startMenu = w.info(I::startMenuCheckBox);
  EXPECT_FALSE(desktop.checked);  // Desktopicon = 0: empty and locked
  EXPECT_FALSE(desktop.enabled);
  EXPECT_TRUE(startMenu.checked);
  EXPECT_TRUE(startMenu.enabled);
  EXPECT_TRUE(w.screenshot(L"4-additional-tasks"));

  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::startMenuPanel, kStepMs));
  EXPECT_EQ(w.info(I::startMenuFolderField).text, L"Averlune Sample Notes\\");
  EXPECT_TRUE(w.screenshot(L"5-start-menu-folder"));

  ASSERT_TRUE(w.press(I::nextButton));
  auto box = waitForMessageBox(w.processId(), 60000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"Could not extract file!\nReadme.txt");
  ASSERT_TRUE(w.visible(I::installingPanel));
  EXPECT_EQ(w.info(I::installingHeaderSubtitle).text,
            L"Please wait while Setup installs Averlune Sample Notes on your computer.");
  EXPECT_EQ(w.info(I::statusLabel).text, L"Installing..\n" + appFolder + L"Readme.txt");
  EXPECT_TRUE(w.info(I::cancelButton).enabled);
  EXPECT_FALSE(w.info(I::nextButton).enabled);
  EXPECT_FALSE(w.info(I::backButton).enabled);
  EXPECT_TRUE(w.screenshot(L"6-installing"));
  readme.release();
  ASSERT_TRUE(pressMessageBoxButtonById(box->handle, IDRETRY));
  if (!w.waitForPage(I::finishPanel, 60000)) {
    if (const auto other = waitForMessageBox(w.processId(), 100)) {
      ADD_FAILURE() << "message: " << std::string(other->title.begin(), other->title.end()) << " / "
                    << std::string(other->text.begin(), other->text.end());
      saveScreenshot(other->handle, screenshotPath(L"wizard-sample-unexpected-message"));
    }
    FAIL() << "no finish page";
  }
  EXPECT_EQ(readFileBytes(appFolder + L"Readme.txt").value_or(""), "read me");
  const ControlInfo finish = w.info(I::nextButton);
  EXPECT_EQ(finish.text, L"Finish");
  EXPECT_TRUE(finish.enabled);
  EXPECT_FALSE(w.visible(I::backButton));
  EXPECT_FALSE(w.visible(I::cancelButton));
  EXPECT_EQ(w.info(I::finishTitle).text, L"Completing the Averlune Sample Notes Setup Wizard");
  EXPECT_TRUE(w.screenshot(L"7-finish"));

  ASSERT_TRUE(w.press(I::nextButton));
  EXPECT_TRUE(w.endsCleanly());
}

// The window builds every control of the page layout, each at the place the layout gives it in the
// window's client area, its parents' offsets included (the host tests check the layout itself).
TEST(Wizard, ControlsSitWhereTheLayoutPutsThem) {
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(buildSetup(L"wizard-layout", configWith("Licence = 1\r\nlabel = 1\r\nAddition = 2\r\n"
                                                   "Desktopicon = 1\r\nStartMenuFolder = 1\r\n")),
           L"Tool Setup", L"wizard");
  ASSERT_TRUE(w.started());
  RECT client{};
  GetClientRect(w.window(), &client);
  EXPECT_EQ(client.right, 497);
  EXPECT_EQ(client.bottom, 362);
  for (const ControlSpec& spec : wizardLayout()) {
    SCOPED_TRACE(static_cast<int>(spec.id));
    const ControlInfo c = w.info(spec.id);
    ASSERT_NE(c.handle, nullptr);
    const ClientRect place = clientRectOf(spec.id);
    EXPECT_EQ(c.rect.left, place.x);
    EXPECT_EQ(c.rect.top, place.y);
    // The icons show at their own size.
    if (spec.kind == ControlKind::folderIcon || spec.kind == ControlKind::startMenuIcon) continue;
    EXPECT_EQ(c.rect.right, place.x + place.width);
    EXPECT_EQ(c.rect.bottom, place.y + place.height);
  }
  for (ControlId picture : {I::separatorAboveButtons, I::welcomeSidePicture, I::licenceHeaderPicture,
                            I::licenceSeparator, I::installingHeaderPicture, I::finishSidePicture}) {
    EXPECT_TRUE(showsPicture(w.info(picture))) << static_cast<int>(picture);
  }
  EXPECT_EQ(w.info(I::finishCheckBox).text, L"Launch Tool");
  EXPECT_TRUE(w.info(I::finishCheckBox).checked);
  EXPECT_TRUE(w.screenshot(L"layout-welcome-with-separator"));
  ASSERT_TRUE(w.press(I::cancelButton));
  auto box = waitForMessageBox(w.processId(), kStepMs);
  ASSERT_TRUE(box);
  pressMessageBoxButton(*box, L"OK");
  EXPECT_TRUE(w.endsCleanly());
}

// The licence text begins with the link "www.example.com", so the link sits at the top left of
// the view, where the test presses the mouse button on it. Beside the setup lies a program of that
// very name (".com" runs as a program), and the prefix's browser for web addresses is another copy
// of the launch probe: a detected link is opened on the press, before any release, as a web
// address in the browser, and the program beside the setup never runs.
TEST(Wizard, LicenceOneNeedsTheAcceptOptionAndLinksOpenOnlyInTheBrowser) {
  const std::wstring scratch = scratchFolder(L"wizard-licence-1-link");
  const std::wstring browserKey = L"Software\\Classes\\http\\shell\\open\\command";
  const std::optional<std::wstring> browserBefore = readRegistryText(HKEY_LOCAL_MACHINE, browserKey, L"");
  const Cleanup browser({[&] {
    if (browserBefore) {
      writeRegistryValue(HKEY_LOCAL_MACHINE, browserKey, L"", REG_SZ, registryTextBytes(*browserBefore));
    } else {
      deleteRegistryTree(HKEY_LOCAL_MACHINE, browserKey);
    }
  }});
  const std::wstring browserProbe = scratch + L"\\browser\\probe.exe";
  CreateDirectoryW((scratch + L"\\browser").c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(AVERLUNE_TEST_LAUNCH_PROBE, browserProbe.c_str(), FALSE));
  ASSERT_TRUE(writeRegistryValue(HKEY_LOCAL_MACHINE, browserKey, L"", REG_SZ,
                                 registryTextBytes(L"\"" + browserProbe + L"\" \"%1\"")));

  std::vector<ConfigFile> config = configWith("Licence = 1\r\nChangeApplicationFolder = 1\r\n");
  config.push_back({"licence.rtf", "{\\rtf1\\ansi www.example.com Terms of use.\\par}"});
  const std::wstring setup = buildSetup(L"wizard-licence-1", config);
  const std::wstring setupFolder = fs::path(setup).parent_path().wstring();
  ASSERT_TRUE(CopyFileW(AVERLUNE_TEST_LAUNCH_PROBE, (setupFolder + L"\\www.example.com").c_str(), FALSE));
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(setup, L"Tool Setup", L"wizard");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::licencePanel, kStepMs));
  EXPECT_NE(w.info(I::licenceView).text.find(L"Terms of use."), std::wstring::npos);
  const HWND view = w.info(I::licenceView).handle;
  ASSERT_TRUE(PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 8)));
  const std::string browserRun = writtenFile(scratch + L"\\browser\\launched.txt", kStepMs);
  EXPECT_NE(browserRun.find(std::string("h\0t\0t\0p\0:\0/\0/\0w\0w\0w\0", 20)), std::string::npos)
      << "the link was not opened in the browser on the press";
  EXPECT_FALSE(fileExists(setupFolder + L"\\launched.txt")) << "the program named like the link ran";
  PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(12, 8));
  EXPECT_TRUE(w.info(I::doNotAcceptOption).checked);
  EXPECT_FALSE(w.info(I::nextButton).enabled);
  // A click that reaches the window while Next is disabled (the user's own click never does) must
  // not move the wizard on.
  PostMessageW(w.window(), WM_COMMAND, MAKEWPARAM(kControlCommandBase + static_cast<int>(I::nextButton), BN_CLICKED),
               reinterpret_cast<LPARAM>(w.control(I::nextButton)));
  Sleep(300);
  EXPECT_TRUE(w.visible(I::licencePanel));
  EXPECT_FALSE(w.visible(I::appFolderPanel));
  EXPECT_TRUE(w.screenshot(L"2-licence-not-accepted"));

  ASSERT_TRUE(w.press(I::acceptOption));
  Sleep(300);
  EXPECT_TRUE(w.info(I::nextButton).enabled);
  EXPECT_TRUE(w.screenshot(L"2-licence-accepted"));
  ASSERT_TRUE(w.press(I::doNotAcceptOption));
  Sleep(300);
  EXPECT_FALSE(w.info(I::nextButton).enabled);

  ASSERT_TRUE(w.press(I::acceptOption));
  Sleep(300);
  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::appFolderPanel, kStepMs));
  // Back to the licence page keeps the choice and the enabled Next.
  ASSERT_TRUE(w.press(I::backButton));
  ASSERT_TRUE(w.waitForPage(I::licencePanel, kStepMs));
  EXPECT_TRUE(w.info(I::acceptOption).checked);
  EXPECT_TRUE(w.info(I::nextButton).enabled);
  closeWindow(w.window());
  auto box = waitForMessageBox(w.processId(), kStepMs);
  ASSERT_TRUE(box);
  pressMessageBoxButton(*box, L"OK");
  EXPECT_TRUE(w.endsCleanly());
}

TEST(Wizard, LicenceTwoAlwaysLetsNextThrough) {
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(buildSetup(L"wizard-licence-2", configWith("Licence = 2\r\n")), L"Tool Setup", L"wizard");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::licencePanel, kStepMs));
  EXPECT_TRUE(w.info(I::doNotAcceptOption).checked);
  EXPECT_TRUE(w.info(I::nextButton).enabled);
  ASSERT_TRUE(w.press(I::nextButton));
  // Everything else is off: straight on to the installing page and the finish page.
  ASSERT_TRUE(w.waitForPage(I::finishPanel, 60000));
  closeWindow(w.window());
  EXPECT_TRUE(w.endsCleanly());
}

TEST(Wizard, BackFromTheFolderPageWithoutLicenceLandsOnWelcome) {
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(buildSetup(L"wizard-back", configWith("Licence = 0\r\nChangeApplicationFolder = 1\r\n")), L"Tool Setup", L"wizard");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::appFolderPanel, kStepMs));
  EXPECT_EQ(w.info(I::appFolderField).text, L"C:\\Tool\\");
  ASSERT_TRUE(w.press(I::backButton));
  ASSERT_TRUE(w.waitForPage(I::welcomePanel, kStepMs));
  EXPECT_FALSE(w.visible(I::backButton));
  EXPECT_FALSE(w.visible(I::licencePanel));
  ASSERT_TRUE(w.press(I::cancelButton));
  auto box = waitForMessageBox(w.processId(), kStepMs);
  ASSERT_TRUE(box);
  pressMessageBoxButton(*box, L"OK");
  EXPECT_TRUE(w.endsCleanly());
}

TEST(Wizard, CancelAsksAndOnlyOkEndsTheRun) {
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(buildSetup(L"wizard-cancel", configWith("ChangeApplicationFolder = 1\r\n")), L"Tool Setup", L"wizard");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::appFolderPanel, kStepMs));
  ASSERT_TRUE(w.press(I::cancelButton));
  auto box = waitForMessageBox(w.processId(), kStepMs);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"Exit Setup");
  EXPECT_EQ(box->text, L"Do you want to abort the installation?");
  EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"OK", L"Cancel"}));
  saveScreenshot(box->handle, screenshotPath(L"wizard-exit-question"));
  pressMessageBoxButton(*box, L"Cancel");
  Sleep(500);
  EXPECT_TRUE(w.running());
  EXPECT_TRUE(w.visible(I::appFolderPanel));
  EXPECT_TRUE(folderExists(w.workFolder()));

  ASSERT_TRUE(w.press(I::cancelButton));
  box = waitForMessageBox(w.processId(), kStepMs);
  ASSERT_TRUE(box);
  pressMessageBoxButton(*box, L"OK");
  EXPECT_TRUE(w.endsCleanly());
}

TEST(Wizard, CloseBoxOnTheFinishPageEndsSilently) {
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(buildSetup(L"wizard-close-finish", configWith("")), L"Tool Setup", L"wizard");
  ASSERT_TRUE(w.started());
  ASSERT_TRUE(w.press(I::nextButton));  // every optional page off: installing, then finish
  ASSERT_TRUE(w.waitForPage(I::finishPanel, 60000));
  EXPECT_TRUE(w.info(I::nextButton).enabled);
  closeWindow(w.window());
  EXPECT_FALSE(waitForMessageBox(w.processId(), 1000));
  EXPECT_TRUE(w.endsCleanly());
}

TEST(Wizard, MissingGadgetsGiveEmptyCaptionsAndOtherCaseTokensStay) {
  const std::string language =
      "[Main]\r\nTitle = <appname> Setup\r\n[Start]\r\nTitle = Hello\r\n"
      "[Finish]\r\nTitle = Completing <AppName>\r\nText1 = Done with <appname>\r\n";
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(buildSetup(L"wizard-no-gadgets", configWith("", language)), L"Tool Setup", L"wizard");
  ASSERT_TRUE(w.started());
  EXPECT_EQ(w.info(I::nextButton).text, L"");
  EXPECT_EQ(w.info(I::backButton).text, L"");
  EXPECT_EQ(w.info(I::cancelButton).text, L"");
  EXPECT_TRUE(w.screenshot(L"no-gadgets-welcome"));
  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::finishPanel, 60000));
  EXPECT_EQ(w.info(I::finishTitle).text, L"Completing <AppName>");
  EXPECT_EQ(w.info(I::finishText).text, L"Done with Tool");
  EXPECT_EQ(w.info(I::nextButton).text, L"");
  EXPECT_TRUE(w.screenshot(L"no-gadgets-finish"));
  closeWindow(w.window());
  EXPECT_TRUE(w.endsCleanly());
}

TEST(Wizard, AuthorPicturesAreScaledAndABrokenOneFallsBack) {
  std::vector<ConfigFile> config = configWith("Licence = 2\r\n");
  config.push_back({"Image_Left.jpg", "this is not a picture"});
  config.push_back({"Image_Top.jpg", builtSeparatorJpeg()});
  const Cleanup installed = leavePrefixAsFound();
  WizardSession w(buildSetup(L"wizard-pictures", config), L"Tool Setup", L"wizard");
  ASSERT_TRUE(w.started());
  // A picture control takes the size of the picture it shows: the size says something only once
  // the control is known to show one.
  EXPECT_TRUE(showsPicture(w.info(I::welcomeSidePicture)));
  const RECT side = w.info(I::welcomeSidePicture).rect;
  EXPECT_EQ(side.right - side.left, 164);
  EXPECT_EQ(side.bottom - side.top, 314);
  EXPECT_TRUE(w.screenshot(L"pictures-welcome"));
  ASSERT_TRUE(w.press(I::nextButton));
  ASSERT_TRUE(w.waitForPage(I::licencePanel, kStepMs));
  EXPECT_TRUE(showsPicture(w.info(I::licenceHeaderPicture)));
  const RECT header = w.info(I::licenceHeaderPicture).rect;
  EXPECT_EQ(header.right - header.left, 55);
  EXPECT_EQ(header.bottom - header.top, 55);
  EXPECT_TRUE(w.screenshot(L"pictures-licence"));
  ASSERT_TRUE(w.press(I::cancelButton));
  auto box = waitForMessageBox(w.processId(), kStepMs);
  ASSERT_TRUE(box);
  pressMessageBoxButton(*box, L"OK");
  EXPECT_TRUE(w.endsCleanly());
}

}  // namespace
}  // namespace averlune::e2e
