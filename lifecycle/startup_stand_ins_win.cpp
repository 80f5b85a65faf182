#include "lifecycle/startup_stand_ins_win.h"

#include "config/wide_text_win.h"

namespace averlune {
namespace {

constexpr wchar_t kStandInClass[] = L"AverluneSetupStandIn";

LRESULT CALLBACK standInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) endSetupRun(true);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void showSplashScreen(SetupRun&) {}
void prepareWizard(SetupRun&) {}

bool loadLanguage(SetupRun& run) {
  // One language reads Default.avl; several start from the list of languages.dat.
  const bool singleLanguage = run.state.options.Languages == 1;
  const std::u16string path = run.state.workFolder + (singleLanguage ? u"Default.avl" : u"languages.dat");
  HANDLE file = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  if (singleLanguage) run.state.languageFile = path;
  return true;
}

void showFirstWindow(SetupRun& run) {
  run.state.currentPage = 0;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = standInProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = run.handles.setupIcon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kStandInClass;
  RegisterClassExW(&windowClass);
  RECT frame{0, 0, 497, 362};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&frame, style, FALSE);
  run.handles.mainWindow = CreateWindowExW(0, kStandInClass, L"Setup", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
  ShowWindow(run.handles.mainWindow, SW_SHOW);
}

void runEventLoop(SetupRun&) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  endSetupRun(true);
}

}  // namespace averlune
