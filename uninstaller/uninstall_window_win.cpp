#include "uninstaller/uninstall_window_win.h"

#include <commctrl.h>

#include "base/progress_bar_win.h"
#include "base/wide_text_win.h"
#include "base/window_class_win.h"
#include "pictures/window_pictures_win.h"
#include "resources/resource_ids.h"

namespace averlune {
namespace {

constexpr wchar_t kWindowClass[] = L"AverluneUninstall";
constexpr wchar_t kBandClass[] = L"AverluneUninstallBand";
constexpr int kClientWidth = 497;
constexpr int kClientHeight = 362;
constexpr UINT kRemovalEnded = WM_APP + 1;
constexpr UINT_PTR kProgressTimer = 1;

enum class Kind { band, picture, separator, title, subtitle, text, progress, button };

struct Control {
  Kind kind;
  bool inBand;
  int x, y, width, height;
};

// Positions in client pixels; those in the band are relative to it (it sits at 0, 0).
constexpr int W = kClientWidth;
constexpr Control kControls[] = {
    {Kind::band, false, 0, 0, W, 58},
    {Kind::picture, true, 440, 1, 55, 55},
    {Kind::title, true, 14, 10, 305, 15},
    {Kind::subtitle, true, 25, 27, 355, 40},
    {Kind::separator, false, 0, 58, 497, 2},
    {Kind::text, false, 25, 90, W - 50, 20},
    {Kind::progress, false, 25, 120, W - 50, 20},
    {Kind::separator, false, 0, 313, 497, 2},
    {Kind::button, false, W - 105, 330, 80, 22},
};

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

UninstallWindow& stateOf(HWND window) {
  return *reinterpret_cast<UninstallWindow*>(GetWindowLongPtrW(GetAncestor(window, GA_ROOT), GWLP_USERDATA));
}

void showProgress(UninstallWindow& state) {
  if (state.progressBar) setProgressPosition(state.progressBar, static_cast<int>(state.recordsPassed.load()));
}

// The exit question; OK ends the process whatever the removal pass has done so far.
void askToExit(UninstallWindow& state) {
  if (MessageBoxW(state.window.get(), wide(state.content.exitQuestion), wide(state.content.exitQuestionTitle),
                  MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
    ExitProcess(static_cast<UINT>(uninstallExitCode(false, UninstallOutcome::declined)));
  }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      askToExit(stateOf(window));
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) askToExit(stateOf(window));
      return 0;
    case WM_TIMER:
      if (wParam == kProgressTimer) showProgress(stateOf(window));
      return 0;
    case kRemovalEnded: {
      // The window stays up with the closing message: it shows where the pass ended.
      UninstallWindow& state = stateOf(window);
      KillTimer(window, kProgressTimer);
      showProgress(state);
      state.removalEnded = true;
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The band gives its texts a white background.
LRESULT CALLBACK bandProc(HWND band, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(stateOf(band).whiteBrush.get());
  }
  return DefWindowProcW(band, message, wParam, lParam);
}

bool registerClasses() {
  return registerWindowClass(kWindowClass, windowProc, dialogFaceBrush(), LoadIconW(instance(), MAKEINTRESOURCEW(IDI_SETUP))) &&
         registerWindowClass(kBandClass, bandProc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void loadPicturesAndFonts(UninstallWindow& state) {
  state.headerPicture.reset(
      LoadImageW(instance(), MAKEINTRESOURCEW(IDB_UNINSTALL_HEADER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  state.separatorPicture.reset(bitmapFromJpegResource(instance(), IDR_WIZARD_SEPARATOR));
  state.titleFont.reset(createPointFont(L"Microsoft Sans Serif", 8, FW_BOLD));
  state.subtitleFont.reset(createPointFont(L"Microsoft Sans Serif", 8, FW_NORMAL));
  state.whiteBrush.reset(CreateSolidBrush(RGB(255, 255, 255)));
}

HWND createControl(UninstallWindow& state, HWND band, const Control& control) {
  const UninstallWindowContent& content = state.content;
  const DWORD child = WS_CHILD | WS_VISIBLE;
  const wchar_t* className = L"STATIC";
  DWORD style = child | SS_LEFT | SS_NOPREFIX;
  const std::u16string* text = nullptr;
  HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
  HGDIOBJ picture = nullptr;
  switch (control.kind) {
    case Kind::band:
      className = kBandClass;
      style = child | WS_CLIPSIBLINGS;
      break;
    case Kind::picture:
      style = child | SS_BITMAP;
      picture = state.headerPicture.get();
      break;
    case Kind::separator:
      style = child | SS_BITMAP;
      picture = state.separatorPicture.get();
      break;
    case Kind::title:
      text = &content.header;
      font = state.titleFont.get();
      break;
    case Kind::subtitle:
      text = &content.subtitle;
      font = state.subtitleFont.get();
      break;
    case Kind::text:
      text = &content.status;
      break;
    case Kind::progress:
      className = PROGRESS_CLASSW;
      style = child;
      break;
    case Kind::button:
      className = L"BUTTON";
      style = child | WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED;
      text = &content.cancel;
      break;
  }
  HWND created = CreateWindowExW(0, className, text ? wide(*text) : L"", style, control.x, control.y, control.width,
                                 control.height, control.inBand ? band : state.window.get(), nullptr, instance(),
                                 nullptr);
  if (!created) return nullptr;  // a control that cannot be made leaves a gap, not a dead uninstall
  SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (picture) SendMessageW(created, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
  return created;
}

bool buildWindow(UninstallWindow& state) {
  if (!registerClasses()) return false;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  state.window.reset(CreateWindowExW(0, kWindowClass, wide(state.content.title), style,
                                     (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr,
                                     instance(), nullptr));
  if (!state.window) return false;
  SetWindowLongPtrW(state.window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  EnableMenuItem(GetSystemMenu(state.window.get(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

  HWND band = nullptr;
  for (const Control& control : kControls) {
    HWND created = createControl(state, band, control);
    if (control.kind == Kind::band) band = created;
    if (control.kind == Kind::progress) state.progressBar = created;
  }
  if (state.progressBar) {
    SendMessageW(state.progressBar, PBM_SETRANGE32, 0, static_cast<LPARAM>(state.content.progressMaximum));
    SendMessageW(state.progressBar, PBM_SETPOS, 0, 0);
  }
  ShowWindow(state.window.get(), SW_SHOWNORMAL);
  UpdateWindow(state.window.get());
  return true;
}

struct RemovalThread {
  UninstallWindow* state;
  const RemovalWork* work;
};

DWORD WINAPI removalThread(void* parameter) {
  const RemovalThread& thread = *static_cast<RemovalThread*>(parameter);
  UninstallWindow& state = *thread.state;
  state.outcome = (*thread.work)([&state](std::uint32_t passed) { state.recordsPassed.store(passed); });
  PostMessageW(state.window.get(), kRemovalEnded, 0, 0);
  return 0;
}

}  // namespace

RemovalOutcome runRemovalWithWindow(UninstallWindow& state, const UninstallWindowContent& content,
                                    const RemovalWork& work) {
  state.content = content;
  loadPicturesAndFonts(state);
  // Without a window the removal still runs: the user has said Yes.
  if (!buildWindow(state)) return work(nullptr);

  RemovalThread parameter{&state, &work};
  const OwnedHandle thread(CreateThread(nullptr, 0, removalThread, &parameter, 0, nullptr));
  if (!thread) {
    // On this thread nothing pumps the window's timer: the pass moves the bar itself.
    return work([&state](std::uint32_t passed) {
      state.recordsPassed.store(passed);
      showProgress(state);
    });
  }
  SetTimer(state.window.get(), kProgressTimer, kProgressShowPeriodMs, nullptr);
  MSG message;
  while (!state.removalEnded && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(state.window.get(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  WaitForSingleObject(thread.get(), INFINITE);  // it has posted its last message; nothing more to wait for
  return state.outcome;
}

}  // namespace averlune
