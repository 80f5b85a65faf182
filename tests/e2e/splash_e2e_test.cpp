// The splash screen under Wine: how long it stays, where it sits, what it ignores, and when a run
// passes it over. Times are measured from outside with wide margins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "pictures/bitmap_test_support.h"
#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/setup_fixture_win.h"
#include "tests/e2e/driver/window_driver_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kStartMs = 30000;
constexpr int kExitMs = 15000;
constexpr wchar_t kWizardClass[] = L"AverluneWizard";
constexpr wchar_t kSplashClass[] = L"AverluneSplash";

// A single-language setup with a splash screen; `picture` becomes isps.dat when given.
std::vector<ConfigFile> configWithScript(const std::string& scriptLines, const std::optional<std::string>& picture) {
  auto config = minimalConfig();
  config[0].bytes += scriptLines;
  if (picture) config.push_back({"isps.dat", *picture});
  return config;
}

std::vector<ConfigFile> splashConfig(const std::string& spsTime, const std::string& picture) {
  return configWithScript("SplashScreen = 1\r\nSPS_Time = " + spsTime + "\r\n", picture);
}

// What a watch of the start of a run saw: the splash window (if any) and how long it stayed.
struct SplashSeen {
  bool shown = false;
  RECT rect{};
  ULONGLONG shownMs = 0;       // from first seen to gone
  bool goneBeforeWizard = true;
  HWND wizard = nullptr;
};

// Polls the run until its wizard window shows. `whileShown` runs once, as soon as the splash
// window is seen. The windows are found by their classes, without sending them a message: a
// message waits while the setup is busy, and hiding a window can keep it busy for seconds under
// Wine without a window manager, so the time the splash was visible would come out too long.
SplashSeen watchStart(const TestProcess& process, const std::function<void(HWND)>& whileShown = nullptr) {
  SplashSeen seen;
  ULONGLONG firstSeen = 0;
  const ULONGLONG deadline = GetTickCount64() + kStartMs + 60000;
  while (GetTickCount64() < deadline) {
    const HWND splash = waitForWindowOfClass(process.id(), kSplashClass, 0);
    const HWND wizard = waitForWindowOfClass(process.id(), kWizardClass, 0);
    if (splash && !seen.shown) {
      seen.shown = true;
      firstSeen = GetTickCount64();
      GetWindowRect(splash, &seen.rect);
      if (whileShown) whileShown(splash);
    }
    if (!splash && seen.shown && seen.shownMs == 0) seen.shownMs = GetTickCount64() - firstSeen;
    if (wizard) {
      seen.wizard = wizard;
      if (splash) seen.goneBeforeWizard = false;
      break;
    }
    Sleep(20);
  }
  return seen;
}

void endAtTheWizard(TestProcess& process, HWND wizard) {
  closeWindow(wizard);
  if (const auto box = waitForMessageBox(process.id(), kExitMs)) pressMessageBoxButton(*box, L"OK");
  EXPECT_TRUE(process.waitForExit(kExitMs));
}

COLORREF screenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

// Everything a user might try on a splash screen: clicks on it and its picture, keys, Alt+F4,
// a close request. Posted, so they arrive whatever window has the focus.
void pesterSplash(HWND splash) {
  HWND picture = GetWindow(splash, GW_CHILD);
  for (HWND target : {splash, picture}) {
    if (!target) continue;
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    PostMessageW(target, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(target, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(target, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));  // Alt+F4
  }
  PostMessageW(splash, WM_NCLBUTTONDOWN, HTCAPTION, 0);  // a drag by a caption it does not have
  closeWindow(splash);
}

std::string readWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(Splash, StaysItsTimeInTheMiddleOfTheScreenWhateverTheUserDoes) {
  const std::string picture = test::plainBitmap(320, 200, 0x3366CC);
  const std::wstring setup = buildSetupWithConfig(L"splash-three-seconds", splashConfig("3", picture));
  ASSERT_FALSE(setup.empty());
  TestProcess process(setup, TestProcess::Start::atOnce);
  ASSERT_TRUE(process.started());
  RECT afterPestering{};
  bool stillThere = false;
  COLORREF middle = CLR_INVALID;
  LONG_PTR style = 0;
  LONG_PTR extendedStyle = 0;
  const SplashSeen seen = watchStart(process, [&](HWND splash) {
    Sleep(300);  // let it paint
    saveScreenshot(splash, screenshotPath(L"splash-shown"));
    style = GetWindowLongPtrW(splash, GWL_STYLE);
    extendedStyle = GetWindowLongPtrW(splash, GWL_EXSTYLE);
    RECT rect{};
    GetWindowRect(splash, &rect);
    middle = screenPixel((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    pesterSplash(splash);
    Sleep(500);
    stillThere = IsWindowVisible(splash) && GetWindowRect(splash, &afterPestering);
    EXPECT_FALSE(waitForMessageBox(process.id(), 0)) << "the splash screen asked something";
  });
  ASSERT_TRUE(seen.shown);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(seen.rect.left, (screenWidth - 320) / 2);
  EXPECT_EQ(seen.rect.top, (screenHeight - 200) / 2);
  EXPECT_EQ(seen.rect.right - seen.rect.left, 320);
  EXPECT_EQ(seen.rect.bottom - seen.rect.top, 200);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0);
  EXPECT_EQ(extendedStyle, WS_EX_TOOLWINDOW);
  EXPECT_EQ(middle, RGB(0x33, 0x66, 0xCC));  // the picture fills the window
  EXPECT_TRUE(stillThere);
  EXPECT_TRUE(EqualRect(&afterPestering, &seen.rect));
  // About 3 seconds: it was seen a little after it opened, and the run may be slow to end it.
  EXPECT_GE(seen.shownMs, 2000u);
  EXPECT_LE(seen.shownMs, 9000u);
  EXPECT_TRUE(seen.goneBeforeWizard);
  ASSERT_NE(seen.wizard, nullptr);
  endAtTheWizard(process, seen.wizard);
}

TEST(Splash, ATimeThatIsNoNumberClosesItAtOnce) {
  for (const char* spsTime : {"", "soon", "-5"}) {
    SCOPED_TRACE(spsTime);
    const std::wstring setup =
        buildSetupWithConfig(L"splash-no-time", splashConfig(spsTime, test::plainBitmap(64, 64, 0xFF0000)));
    ASSERT_FALSE(setup.empty());
    TestProcess process(setup, TestProcess::Start::atOnce);
    const SplashSeen seen = watchStart(process);
    ASSERT_NE(seen.wizard, nullptr);
    EXPECT_LE(seen.shownMs, 1500u);  // when it was seen at all
    EXPECT_TRUE(seen.goneBeforeWizard);
    endAtTheWizard(process, seen.wizard);
  }
}

TEST(Splash, APictureLargerThanTheScreenFillsItFromTheTopLeftCorner) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const std::string picture = test::plainBitmap(screenWidth + 300, screenHeight + 200, 0x00AA55);
  const std::wstring setup = buildSetupWithConfig(L"splash-larger-than-screen", splashConfig("2", picture));
  ASSERT_FALSE(setup.empty());
  TestProcess process(setup, TestProcess::Start::atOnce);
  const SplashSeen seen = watchStart(process, [](HWND splash) {
    Sleep(300);
    saveScreenshot(splash, screenshotPath(L"splash-larger-than-screen"));
  });
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.rect.left, 0);
  EXPECT_EQ(seen.rect.top, 0);
  EXPECT_EQ(seen.rect.right, screenWidth);
  EXPECT_EQ(seen.rect.bottom, screenHeight);
  ASSERT_NE(seen.wizard, nullptr);
  endAtTheWizard(process, seen.wizard);
}

TEST(Splash, AJpegPictureIsShownAtItsOwnSize) {
  // The build's own separator line: a real JPEG of 497 x 2 pixels.
  const std::string jpeg = readWholeFile(fs::path(AVERLUNE_SCRATCH_DIR).parent_path() / "resources" / "wizard_separator.jpg");
  ASSERT_FALSE(jpeg.empty());
  const std::wstring setup = buildSetupWithConfig(L"splash-jpeg", splashConfig("1", jpeg));
  ASSERT_FALSE(setup.empty());
  TestProcess process(setup, TestProcess::Start::atOnce);
  const SplashSeen seen = watchStart(process);
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.rect.right - seen.rect.left, 497);
  EXPECT_EQ(seen.rect.bottom - seen.rect.top, 2);
  ASSERT_NE(seen.wizard, nullptr);
  endAtTheWizard(process, seen.wizard);
}

TEST(Splash, IsPassedOverWithoutAPictureItCanShowOrWhenSwitchedOff) {
  // Each would keep a shown splash screen up for 30 seconds.
  const struct {
    const wchar_t* name;
    std::vector<ConfigFile> config;
  } rows[] = {
      {L"splash-no-picture", configWithScript("SplashScreen = 1\r\nSPS_Time = 30\r\n", std::nullopt)},
      {L"splash-not-a-picture", splashConfig("30", "BM but nothing more")},
      {L"splash-16000-square", splashConfig("30", test::runLengthBitmap(16000, 16000, 0xFF0000))},
      {L"splash-switched-off",
       configWithScript("SplashScreen = 0\r\nSPS_Time = 30\r\n", test::plainBitmap(64, 64, 0xFF0000))},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::wstring setup = buildSetupWithConfig(row.name, row.config);
    ASSERT_FALSE(setup.empty());
    const ULONGLONG started = GetTickCount64();
    TestProcess process(setup, TestProcess::Start::atOnce);
    const SplashSeen seen = watchStart(process);
    ASSERT_NE(seen.wizard, nullptr) << "the run did not reach its wizard";
    EXPECT_FALSE(seen.shown);
    EXPECT_LT(GetTickCount64() - started, 25000u);
    endAtTheWizard(process, seen.wizard);
  }
}

}  // namespace
}  // namespace averlune::e2e
