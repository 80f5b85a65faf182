#pragma once
// Drives and reads the real windows of a program under test from another process: find windows,
// read controls, click, type, answer message boxes, take screenshots. All waits poll with a
// timeout in milliseconds and return an empty result when it runs out.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace averlune::e2e {

struct ControlInfo {
  HWND handle = nullptr;
  std::wstring className;
  std::wstring text;
  int id = 0;
  bool visible = false;
  bool enabled = false;
  bool checked = false;  // check boxes and option buttons
  RECT rect{};           // in client pixels of the top-level window that owns the control
};

struct MessageBoxInfo {
  HWND handle = nullptr;
  std::wstring title;
  std::wstring text;
  std::vector<std::wstring> buttons;  // captions in creation order
  bool hasIcon = false;               // any icon shows
  bool hasErrorIcon = false;          // the icon shown is the error sign, the only red one
};

// Visible top-level windows of the process, in Z order.
std::vector<HWND> topLevelWindows(DWORD processId);
// The first visible top-level window of the process whose title is exactly `title`.
HWND waitForWindow(DWORD processId, const std::wstring& title, int timeoutMs);
// Any visible top-level window of the process.
HWND waitForAnyWindow(DWORD processId, int timeoutMs);
// The first visible top-level window of the process of window class `windowClass`. Sends the
// windows no message, so it answers at once even while the program is busy.
HWND waitForWindowOfClass(DWORD processId, const std::wstring& windowClass, int timeoutMs);

std::wstring windowText(HWND window);
std::wstring className(HWND window);
// Every child control of `window`, in creation order, with positions in its client pixels.
std::vector<ControlInfo> controlsOf(HWND window);
// The first control whose text is exactly `text` (and, when given, of class `classNameFilter`).
std::optional<ControlInfo> findControl(HWND window, const std::wstring& text, const std::wstring& classNameFilter = L"");

// Presses a push button, check box or option button as a user's click would.
bool clickControl(const ControlInfo& control);
bool clickButton(HWND window, const std::wstring& caption);
// The entries of a drop-down list, in list order, and the index of the selected one (-1: none).
std::vector<std::wstring> comboEntries(HWND combo);
int comboSelection(HWND combo);
// Selects the entry at `index`, as picking it with the mouse would (the parent hears of it).
bool selectComboEntry(HWND combo, int index);
// Replaces the text of an edit field.
void typeInto(const ControlInfo& control, const std::wstring& text);
// Asks the window to close, as its close box would.
void closeWindow(HWND window);

// A message box of the process (a dialog of class #32770 with an OK/Cancel/... button).
std::optional<MessageBoxInfo> waitForMessageBox(DWORD processId, int timeoutMs);
// Presses the button and waits until the box has gone, so that looking for the next box never
// finds this one again; false when the button is missing or the box stays.
bool pressMessageBoxButton(const MessageBoxInfo& box, const std::wstring& caption);

// Saves the window as it is drawn now, frame included, as a PNG file. Result: true when written.
bool saveScreenshot(HWND window, const std::wstring& pngPath);

}  // namespace averlune::e2e
