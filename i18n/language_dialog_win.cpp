#include "i18n/language_dialog_win.h"

#include "base/wide_text_win.h"
#include "base/window_class_win.h"
#include "i18n/language_choice.h"

namespace averlune {
namespace {

constexpr wchar_t kDialogClass[] = L"AverluneLanguageDialog";
constexpr int kClientWidth = 301;
constexpr int kClientHeight = 128;
constexpr int kListId = 100;

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

// Positions and sizes in client pixels.
struct ControlPlace {
  int x, y, width, height;
};
constexpr ControlPlace kIconPlace{5, 10, 32, 32};
constexpr ControlPlace kPromptPlace{55, 10, 240, 35};
constexpr ControlPlace kListPlace{55, 55, 235, 20};
constexpr ControlPlace kOkPlace{130, 95, 75, 25};
constexpr ControlPlace kCancelPlace{215, 95, 75, 25};

HWND addControl(HWND window, const wchar_t* className, const std::u16string& text, DWORD style,
                const ControlPlace& place, int id) {
  const HWND control =
      CreateWindowExW(0, className, wide(text), WS_CHILD | WS_VISIBLE | style, place.x, place.y, place.width,
                      place.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
  if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

void onOk(LanguageDialog& dialog) {
  const LRESULT selected = SendMessageW(dialog.list, CB_GETCURSEL, 0, 0);
  const std::u16string name = selected >= 0 && static_cast<std::size_t>(selected) < dialog.names.size()
                                  ? dialog.names[static_cast<std::size_t>(selected)]
                                  : std::u16string();
  if (!confirmLanguage(dialog.state, name)) {
    MessageBoxW(dialog.window.get(), wide(dialog.texts.loadFailure), L"Error", MB_OK | MB_ICONERROR);
    return;
  }
  // Hidden, not destroyed: the event loop is inside this window's procedure right now.
  ShowWindow(dialog.window.get(), SW_HIDE);
  dialog.openWizard();
}

void onCancel(LanguageDialog& dialog) {
  if (MessageBoxW(dialog.window.get(), wide(dialog.texts.abortQuestion), L"Setup", MB_OKCANCEL | MB_ICONQUESTION) ==
      IDOK) {
    dialog.endRun(false);
  }
}

LRESULT CALLBACK languageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* dialog = windowRecord<LanguageDialog>(window, message, lParam);
  if (!dialog) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) break;
      if (LOWORD(wParam) == IDOK) onOk(*dialog);
      if (LOWORD(wParam) == IDCANCEL) onCancel(*dialog);
      return 0;
    case DM_GETDEFID:  // Enter presses OK
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
      // Alt+F4 and every other close request: only the two buttons lead out of the dialog.
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool registerDialogClass(HICON icon) {
  return registerWindowClass(kDialogClass, languageDialogProc, dialogFaceBrush(), icon);
}

// A title bar and nothing else: no system menu, so no close box, no minimise or maximise box, and
// no sizing border.
bool openDialogWindow(LanguageDialog& dialog, HICON icon) {
  if (!registerDialogClass(icon)) return false;
  const DWORD style = WS_POPUP | WS_CAPTION;
  const DWORD extendedStyle = WS_EX_CONTROLPARENT;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  dialog.window.reset(CreateWindowExW(extendedStyle, kDialogClass, wide(dialog.texts.title), style, left, top, width,
                                      height, nullptr, nullptr, instance(), &dialog));
  if (!dialog.window) return false;
  ShowWindow(dialog.window.get(), SW_SHOW);
  return true;
}

void addControls(LanguageDialog& dialog, HICON icon) {
  const HWND window = dialog.window.get();
  // Shown at 32 x 32 whatever the icon's own size.
  const HWND picture = addControl(window, L"STATIC", u"", SS_ICON | SS_REALSIZECONTROL, kIconPlace, -1);
  if (picture && icon) SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  addControl(window, L"STATIC", dialog.texts.prompt, SS_LEFT, kPromptPlace, -1);
  dialog.list = addControl(window, L"COMBOBOX", u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kListPlace, kListId);
  addControl(window, L"BUTTON", dialog.texts.okCaption, BS_DEFPUSHBUTTON | WS_TABSTOP, kOkPlace, IDOK);
  addControl(window, L"BUTTON", dialog.texts.cancelCaption, BS_PUSHBUTTON | WS_TABSTOP, kCancelPlace, IDCANCEL);
  if (dialog.list) SetFocus(dialog.list);
}

}  // namespace

bool showLanguageDialog(LanguageDialog& dialog) {
  dialog.texts = chooseDialogTexts(GetUserDefaultLangID());
  if (!openDialogWindow(dialog, dialog.setupIcon)) return false;
  addControls(dialog, dialog.setupIcon);
  if (!readLanguageList(dialog.state.workFolder, dialog.names)) return false;
  for (const std::u16string& name : dialog.names) {
    SendMessageW(dialog.list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(name)));
  }
  if (!dialog.names.empty()) SendMessageW(dialog.list, CB_SETCURSEL, 0, 0);
  return true;
}

}  // namespace averlune
