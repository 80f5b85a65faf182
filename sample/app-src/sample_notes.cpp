// Averlune Sample Notes: the small program that the sample setup installs. One window with a page
// of notes, opened on Welcome.txt from the program's own folder and sized by Settings.ini.
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t kWindowClass[] = L"AverluneSampleNotes";
constexpr wchar_t kTitle[] = L"Averlune Sample Notes";
HWND notesField = nullptr;

std::wstring programFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"";
    if (length < path.size()) {
      std::wstring text(path.data(), length);
      return text.substr(0, text.find_last_of(L'\\') + 1);
    }
    path.resize(path.size() * 2);
  }
}

// The welcome text, UTF-8 on disk, with its line ends as the edit control wants them (CR LF).
std::wstring welcomeText(const std::wstring& folder) {
  const HANDLE file = CreateFileW((folder + L"Welcome.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return L"Welcome.txt is missing.";
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  std::wstring text;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r')) text += L'\r';
    text += wide[i];
  }
  return text;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      notesField = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                   0, 0, 0, 0, window, nullptr, nullptr, nullptr);
      SendMessageW(notesField, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
      SetWindowTextW(notesField, welcomeText(programFolder()).c_str());
      return 0;
    case WM_SIZE:
      MoveWindow(notesField, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(notesField);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));      // IDI_APPLICATION
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassW(&windowClass)) return 1;

  const std::wstring settings = programFolder() + L"Settings.ini";
  const int width = static_cast<int>(GetPrivateProfileIntW(L"Window", L"Width", 480, settings.c_str()));
  const int height = static_cast<int>(GetPrivateProfileIntW(L"Window", L"Height", 360, settings.c_str()));
  const HWND window = CreateWindowExW(0, kWindowClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                      width, height, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
