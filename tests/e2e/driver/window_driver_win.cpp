#include "tests/e2e/driver/window_driver_win.h"

#include <filesystem>
#include <fstream>

#include "tests/e2e/driver/png_writer.h"

namespace averlune::e2e {
namespace {

constexpr int kPollMs = 50;
constexpr int kBoxGoneMs = 5000;
constexpr int kMessageBoxTextId = 0xFFFF;  // the static control that holds a message box's text

struct Search {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK collectChildren(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

template <typename Probe>
auto pollUntil(int timeoutMs, Probe probe) -> decltype(probe()) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    auto result = probe();
    if (result || GetTickCount64() >= deadline) return result;
    Sleep(kPollMs);
  }
}

bool isMessageBox(HWND window) {
  return className(window) == L"#32770" && GetDlgItem(window, kMessageBoxTextId) != nullptr;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId) {
  Search search{processId, {}};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND waitForWindow(DWORD processId, const std::wstring& title, int timeoutMs) {
  return pollUntil(timeoutMs, [&]() -> HWND {
    for (HWND window : topLevelWindows(processId)) {
      if (windowText(window) == title) return window;
    }
    return nullptr;
  });
}

HWND waitForAnyWindow(DWORD processId, int timeoutMs) {
  return pollUntil(timeoutMs, [&]() -> HWND {
    const auto windows = topLevelWindows(processId);
    return windows.empty() ? nullptr : windows.front();
  });
}

HWND waitForWindowOfClass(DWORD processId, const std::wstring& windowClass, int timeoutMs) {
  return pollUntil(timeoutMs, [&]() -> HWND {
    for (HWND window : topLevelWindows(processId)) {
      if (className(window) == windowClass) return window;
    }
    return nullptr;
  });
}

std::wstring windowText(HWND window) {
  // WM_GETTEXT works across processes for every control kind, unlike GetWindowText.
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

std::wstring className(HWND window) {
  wchar_t name[256];
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

std::vector<ControlInfo> controlsOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, collectChildren, reinterpret_cast<LPARAM>(&children));
  std::vector<ControlInfo> controls;
  for (HWND child : children) {
    ControlInfo info;
    info.handle = child;
    info.className = className(child);
    info.text = windowText(child);
    info.id = GetDlgCtrlID(child);
    info.visible = IsWindowVisible(child) != FALSE;
    info.enabled = IsWindowEnabled(child) != FALSE;
    info.checked = SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED && info.className == L"Button";
    GetWindowRect(child, &info.rect);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&info.rect), 2);
    controls.push_back(info);
  }
  return controls;
}

std::optional<ControlInfo> findControl(HWND window, const std::wstring& text, const std::wstring& classNameFilter) {
  for (const ControlInfo& control : controlsOf(window)) {
    if (control.text == text && (classNameFilter.empty() || control.className == classNameFilter)) return control;
  }
  return std::nullopt;
}

bool clickControl(const ControlInfo& control) {
  if (!control.handle || !IsWindowEnabled(control.handle)) return false;
  // BM_CLICK sends the same notification a mouse click does; posted so a modal box that the click
  // opens does not block the driver.
  return PostMessageW(control.handle, BM_CLICK, 0, 0) != FALSE;
}

bool clickButton(HWND window, const std::wstring& caption) {
  const auto control = findControl(window, caption, L"Button");
  return control && clickControl(*control);
}

std::vector<std::wstring> comboEntries(HWND combo) {
  std::vector<std::wstring> entries;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) break;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    entries.push_back(text);
  }
  return entries;
}

int comboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

bool selectComboEntry(HWND combo, int index) {
  if (SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index) return false;
  const HWND parent = GetParent(combo);
  const int id = GetDlgCtrlID(combo);
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  return true;
}

void typeInto(const ControlInfo& control, const std::wstring& text) {
  SendMessageW(control.handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void closeWindow(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

namespace {

// What the display shows over a window's rectangle, top row first, 4 bytes a pixel (blue, green,
// red, unused). Copied from the screen: PrintWindow across processes leaves dialogs black under
// Wine. Nothing when the window has no area or the copy fails.
struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgra;
};

std::optional<ScreenPixels> captureWindowArea(HWND window) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return std::nullopt;
  ScreenPixels pixels;
  pixels.width = rect.right - rect.left;
  pixels.height = rect.bottom - rect.top;
  if (pixels.width <= 0 || pixels.height <= 0) return std::nullopt;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool drawn = false;
  if (bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    drawn = BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
    SelectObject(memory, previous);
    if (drawn) {
      GdiFlush();
      const auto* first = static_cast<const std::uint8_t*>(bits);
      pixels.bgra.assign(first, first + static_cast<std::size_t>(pixels.width) * pixels.height * 4);
    }
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!drawn) return std::nullopt;
  return pixels;
}

// Whether the control shows a red sign on the display. MessageBox puts every icon kind in the same
// control, and the icon's handle belongs to the box's process, so only its pixels tell the error
// sign (red) from the question, information and warning signs (blue, blue, yellow). The box may
// not have painted yet when it is found: the look is repeated for a while.
bool showsRed(HWND control) {
  for (int look = 0; look < 10; ++look) {
    if (look > 0) Sleep(100);
    const auto pixels = captureWindowArea(control);
    if (!pixels) continue;
    const std::vector<std::uint8_t>& bgra = pixels->bgra;
    int redPixels = 0;
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
      if (bgra[i + 2] >= 160 && bgra[i + 1] <= 96 && bgra[i] <= 96) ++redPixels;
    }
    if (redPixels >= 20) return true;
  }
  return false;
}

}  // namespace

std::optional<MessageBoxInfo> waitForMessageBox(DWORD processId, int timeoutMs) {
  return pollUntil(timeoutMs, [&]() -> std::optional<MessageBoxInfo> {
    for (HWND window : topLevelWindows(processId)) {
      if (!isMessageBox(window)) continue;
      MessageBoxInfo box;
      box.handle = window;
      box.title = windowText(window);
      box.text = windowText(GetDlgItem(window, kMessageBoxTextId));
      for (const ControlInfo& control : controlsOf(window)) {
        if (control.className == L"Button" && control.visible) box.buttons.push_back(control.text);
        // Every box has the icon control; in a box without an icon it holds none.
        if (control.className == L"Static" && (GetWindowLongW(control.handle, GWL_STYLE) & SS_ICON) &&
            SendMessageW(control.handle, STM_GETICON, 0, 0) != 0) {
          box.hasIcon = true;
          box.hasErrorIcon = showsRed(control.handle);
        }
      }
      return box;
    }
    return std::nullopt;
  });
}

bool pressMessageBoxButton(const MessageBoxInfo& box, const std::wstring& caption) {
  if (!clickButton(box.handle, caption)) return false;
  return pollUntil(kBoxGoneMs, [&] { return !IsWindow(box.handle) || !IsWindowVisible(box.handle); });
}

bool saveScreenshot(HWND window, const std::wstring& pngPath) {
  if (!IsWindow(window)) return false;
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  // The other process paints when its loop gets to it, not within the call.
  Sleep(250);
  const auto pixels = captureWindowArea(window);
  if (!pixels) return false;
  const std::size_t count = pixels->bgra.size() / 4;
  std::vector<std::uint8_t> rgb(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    rgb[i * 3] = pixels->bgra[i * 4 + 2];
    rgb[i * 3 + 1] = pixels->bgra[i * 4 + 1];
    rgb[i * 3 + 2] = pixels->bgra[i * 4];
  }
  const auto png = encodePng(pixels->width, pixels->height, rgb);
  std::ofstream out(std::filesystem::path(pngPath), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

}  // namespace averlune::e2e
