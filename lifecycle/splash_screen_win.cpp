#include "lifecycle/splash_screen_win.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "guards/dll_search_win.h"
#include "base/file_bytes.h"
#include "base/owned_handle_win.h"
#include "config/setup_script.h"
#include "base/window_class_win.h"
#include "pictures/window_pictures_win.h"
#include "lifecycle/splash_screen.h"
#include "pictures/picture_file_win.h"

namespace averlune {
namespace {

constexpr wchar_t kSplashClass[] = L"AverluneSplash";
constexpr wchar_t kSplashTitle[] = L"Averlune Setup";  // never drawn: the window has no caption

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

// The multimedia library, loaded from the system folder for the splash screen alone: it is no
// library the system pins (guards/dll_search_win.h), so the setup does not import it. Each
// function is null when the library or the function is missing; the splash screen then waits
// with the default timer resolution and stays silent.
struct MultimediaLibrary {
  using TimerPeriod = UINT(WINAPI*)(UINT);
  using PlaySound = BOOL(WINAPI*)(const wchar_t*, HMODULE, DWORD);
  static constexpr DWORD kSoundFromMemory = 0x0004;  // SND_MEMORY
  static constexpr DWORD kSoundAsync = 0x0001;       // SND_ASYNC
  static constexpr DWORD kSoundNoDefault = 0x0002;   // SND_NODEFAULT

  OwnedModule module{loadSystemLibrary(L"winmm.dll")};
  TimerPeriod beginPeriod = function<TimerPeriod>("timeBeginPeriod");
  TimerPeriod endPeriod = function<TimerPeriod>("timeEndPeriod");
  PlaySound playSound = function<PlaySound>("PlaySoundW");

  template <typename F>
  F function(const char* name) const {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module.get(), name))) : nullptr;
  }
};

// Shared by the main thread and the timer thread; outlives both.
struct SplashTimer {
  const MultimediaLibrary& multimedia;
  std::uint32_t milliseconds = 0;
  std::atomic<bool> over{false};
};

// The timer thread only sleeps and then sets the flag, once.
DWORD WINAPI runSplashTimer(void* parameter) {
  SplashTimer& timer = *static_cast<SplashTimer*>(parameter);
  // A wait of whole seconds should not come out a tick too long.
  const bool finer = timer.multimedia.beginPeriod && timer.multimedia.endPeriod && timer.multimedia.beginPeriod(1) == 0;
  Sleep(timer.milliseconds);
  if (finer) timer.multimedia.endPeriod(1);
  timer.over.store(true);
  return 0;
}

// Only the timer ends the splash screen: a close request (Alt+F4 included) is refused.
LRESULT CALLBACK splashWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

bool isUserInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

// The splash picture as a bitmap for a picture control; empty when isps.dat cannot be read.
OwnedGdiObject splashBitmap(const std::u16string& workFolder, int& width, int& height) {
  Picture picture;
  if (!loadPictureFile(workFolder + u"isps.dat", PictureFormats::bitmapOrJpeg, picture)) return OwnedGdiObject();
  width = picture.width;
  height = picture.height;
  return OwnedGdiObject(bitmapFromPicture(picture));
}

// The borderless window with the picture, centred, cut to the screen when larger, shown; empty
// when the system cannot open it.
OwnedWindow openSplashWindow(HBITMAP bitmap, int width, int height) {
  if (!registerWindowClass(kSplashClass, splashWindowProc, nullptr)) return OwnedWindow();
  OwnedWindow window(
      CreateWindowExW(0, kSplashClass, kSplashTitle, WS_POPUP, 0, 0, width, height, nullptr, nullptr, instance(), nullptr));
  if (!window) return window;
  RECT outer{};
  GetWindowRect(window.get(), &outer);
  const SplashPlacement place = placeSplashWindow(outer.right - outer.left, outer.bottom - outer.top,
                                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(window.get(), nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
  // A tool window gets no task-bar button.
  SetWindowLongPtrW(window.get(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  ShowWindow(window.get(), SW_SHOW);
  RECT inner{};
  GetClientRect(window.get(), &inner);
  const HWND picture = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0, inner.right,
                                       inner.bottom, window.get(), nullptr, instance(), nullptr);
  if (picture) SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  return window;
}

// The system's multimedia library playing the sound from memory, without waiting.
SplashSoundPlayer systemSoundPlayer(const MultimediaLibrary& multimedia) {
  const MultimediaLibrary::PlaySound playSound = multimedia.playSound;
  if (!playSound) return {};
  return {[playSound](const std::string& sound) {
            return playSound(reinterpret_cast<const wchar_t*>(sound.data()), nullptr,
                             MultimediaLibrary::kSoundFromMemory | MultimediaLibrary::kSoundAsync |
                                 MultimediaLibrary::kSoundNoDefault) != FALSE;
          },
          [playSound] { playSound(nullptr, nullptr, 0); }};
}

// ssps.dat, played once from memory while the splash screen is up and cut off when it ends.
class SplashSound {
 public:
  SplashSound(const SplashSoundPlayer& player, const std::u16string& path) : player_(player) {
    if (!player_.play || !readFileBytes(path, bytes_) || bytes_.empty()) return;
    playing_ = player_.play(bytes_);
  }
  ~SplashSound() {
    if (playing_) player_.stop();  // the bytes must outlive the sound
  }
  SplashSound(const SplashSound&) = delete;
  SplashSound& operator=(const SplashSound&) = delete;

 private:
  const SplashSoundPlayer& player_;
  std::string bytes_;
  bool playing_ = false;
};

// Keeps the splash window painted until the timer is over; user input is dropped unseen.
void pumpUntilOver(const SplashTimer& timer) {
  while (!timer.over.load()) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (isUserInput(message.message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
}

}  // namespace

void showSplashScreen(const std::u16string& workFolder, const std::u16string& spsTime,
                      const SplashSoundPlayer* soundPlayer) {
  int width = 0;
  int height = 0;
  // The picture first: a setup without one shows nothing and waits for nothing, so it need not
  // pay for loading the multimedia library either.
  const OwnedGdiObject bitmap = splashBitmap(workFolder, width, height);
  if (!bitmap) return;
  // Declared in this order so that they end in the reverse one: the sound stops first, then the
  // window closes, then the library that played the sound goes; the picture goes last.
  const MultimediaLibrary multimedia;
  const SplashSoundPlayer systemPlayer = soundPlayer ? SplashSoundPlayer() : systemSoundPlayer(multimedia);
  const OwnedWindow window = openSplashWindow(static_cast<HBITMAP>(bitmap.get()), width, height);
  const SplashSound sound(soundPlayer ? *soundPlayer : systemPlayer, workFolder + u"ssps.dat");

  SplashTimer timer{multimedia};
  timer.milliseconds = splashWaitMilliseconds(splashSeconds(spsTime));
  const OwnedHandle thread(CreateThread(nullptr, 0, runSplashTimer, &timer, 0, nullptr));
  if (!thread) return;  // without its timer the splash screen cannot wait; the run goes on
  pumpUntilOver(timer);
  WaitForSingleObject(thread.get(), INFINITE);  // it has set the flag and is ending
}

}  // namespace averlune
