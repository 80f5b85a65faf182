#include "wizard/wizard_window_win.h"

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <string>

#include "config/file_bytes.h"
#include "config/wide_text_win.h"
#include "lifecycle/setup_run_win.h"
#include "resources/resource_ids.h"
#include "wizard/free_space_win.h"
#include "wizard/jpeg_decode_win.h"
#include "wizard/licence_view_win.h"
#include "wizard/wizard_navigation_win.h"
#include "wizard/wizard_texts.h"

namespace averlune {
namespace {

constexpr wchar_t kWizardClass[] = L"AverluneWizard";
constexpr wchar_t kPanelClass[] = L"AverlunePanel";
constexpr wchar_t kWhitePanelClass[] = L"AverluneWhitePanel";
constexpr COLORREF kWhite = RGB(255, 255, 255);

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

// Panels only group controls: what their controls report belongs to the wizard window, and the
// white ones give their texts a white background.
LRESULT CALLBACK panelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      wchar_t name[32] = {};
      GetClassNameW(panel, name, 32);
      if (lstrcmpW(name, kWhitePanelClass) != 0) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, kWhite);
      return reinterpret_cast<LRESULT>(currentRun().handles.wizardResources.whiteBrush);
    }
    default:
      break;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}

// A class that exists already (a second wizard in one process, as the Windows tests build) is
// as good as a new one.
bool registered(const WNDCLASSEXW& windowClass) {
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool registerClasses(HICON icon) {
  WNDCLASSEXW wizard{};
  wizard.cbSize = sizeof wizard;
  wizard.lpfnWndProc = wizardWindowProc;
  wizard.hInstance = instance();
  wizard.hIcon = icon;
  wizard.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wizard.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wizard.lpszClassName = kWizardClass;
  if (!registered(wizard)) return false;

  WNDCLASSEXW panel = wizard;
  panel.lpfnWndProc = panelProc;
  panel.hIcon = nullptr;
  panel.lpszClassName = kPanelClass;
  if (!registered(panel)) return false;
  panel.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  panel.lpszClassName = kWhitePanelClass;
  return registered(panel);
}

HBITMAP bitmapOf(const Picture& picture) {
  if (picture.rgb.empty()) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down, as the picture's rows are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return bitmap;
  const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
  auto* out = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* in = &picture.rgb[static_cast<std::size_t>(y) * picture.width * 3];
    std::uint8_t* row = out + y * stride;
    for (int x = 0; x < picture.width; ++x) {  // DIBs hold blue, green, red
      row[x * 3] = in[x * 3 + 2];
      row[x * 3 + 1] = in[x * 3 + 1];
      row[x * 3 + 2] = in[x * 3];
    }
  }
  return bitmap;
}

// The author's picture from the work folder, scaled, or null when it is missing, a folder, or
// does not decode as a JPEG.
HBITMAP authorPicture(const std::u16string& path, int width, int height) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return nullptr;
  Picture decoded;
  if (!decodeJpeg(bytes, decoded)) return nullptr;
  return bitmapOf(scalePicture(decoded, width, height));
}

HBITMAP builtInBitmap(int id) {
  return static_cast<HBITMAP>(LoadImageW(instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HBITMAP builtInSeparator() {
  HRSRC found = FindResourceW(instance(), MAKEINTRESOURCEW(IDR_WIZARD_SEPARATOR), MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(instance(), found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  Picture decoded;
  if (!decodeJpeg(std::string_view(static_cast<const char*>(data), SizeofResource(instance(), found)), decoded)) {
    return nullptr;
  }
  return bitmapOf(decoded);
}

HICON shellIcon(int index) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\Shell32.dll";
  HICON icon = ExtractIconW(instance(), path.c_str(), static_cast<UINT>(index));
  // ExtractIconW answers 1 for a file that holds no icons.
  return reinterpret_cast<UINT_PTR>(icon) > 1 ? icon : nullptr;
}

HFONT makeFont(const wchar_t* face, int points, int weight) {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return CreateFontW(-MulDiv(points, pixelsPerInch, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

struct Creation {
  const wchar_t* className;
  DWORD style;
  DWORD extendedStyle = 0;
};

Creation creationOf(ControlKind kind) {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::pagePanel:
      return {kPanelClass, WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case ControlKind::whitePanel:
    case ControlKind::headerBand:
      return {kWhitePanelClass, child | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case ControlKind::sidePicture:
    case ControlKind::headerPicture:
    case ControlKind::separatorPicture:
      return {L"STATIC", child | SS_BITMAP};
    case ControlKind::folderIcon:
    case ControlKind::startMenuIcon:
      return {L"STATIC", child | SS_ICON};
    case ControlKind::text:
    case ControlKind::titleText:
    case ControlKind::headerTitle:
    case ControlKind::headerSubtitle:
      return {L"STATIC", child | SS_LEFT | SS_NOPREFIX};
    case ControlKind::pushButton:
      return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON};
    case ControlKind::defaultPushButton:
      return {L"BUTTON", child | WS_TABSTOP | BS_DEFPUSHBUTTON};
    case ControlKind::radioButton:
      return {L"BUTTON", child | WS_TABSTOP | BS_AUTORADIOBUTTON};
    case ControlKind::checkBox:
      return {L"BUTTON", child | WS_TABSTOP | BS_AUTOCHECKBOX};
    case ControlKind::editField:
      return {L"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::groupFrame:
      return {L"BUTTON", child | BS_GROUPBOX};
    case ControlKind::richEdit:
      return {RICHEDIT_CLASSW, child | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
              WS_EX_CLIENTEDGE};
    case ControlKind::progressBar:
      return {PROGRESS_CLASSW, child};
  }
  return {L"STATIC", child};
}

HFONT fontOf(ControlKind kind, const WizardResources& resources) {
  switch (kind) {
    case ControlKind::titleText: return resources.titleFont;
    case ControlKind::headerTitle: return resources.headerTitleFont;
    case ControlKind::headerSubtitle: return resources.headerSubtitleFont;
    default: return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
}

void setPicture(HWND control, ControlKind kind, const WizardResources& resources) {
  HBITMAP bitmap = nullptr;
  switch (kind) {
    case ControlKind::sidePicture: bitmap = resources.sidePicture; break;
    case ControlKind::headerPicture: bitmap = resources.headerPicture; break;
    case ControlKind::separatorPicture: bitmap = resources.separatorPicture; break;
    case ControlKind::folderIcon:
      if (resources.folderIcon) SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(resources.folderIcon), 0);
      return;
    case ControlKind::startMenuIcon:
      if (resources.startMenuIcon) {
        SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(resources.startMenuIcon), 0);
      }
      return;
    default: return;
  }
  if (bitmap) SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void setChecked(HWND button, bool checked) {
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void nameControls(WizardControls& c) {
  c.nextButton = c[ControlId::nextButton];
  c.backButton = c[ControlId::backButton];
  c.cancelButton = c[ControlId::cancelButton];
  c.appFolderField = c[ControlId::appFolderField];
  c.startMenuFolderField = c[ControlId::startMenuFolderField];
  c.desktopIconCheckBox = c[ControlId::desktopIconCheckBox];
  c.startMenuCheckBox = c[ControlId::startMenuCheckBox];
  c.statusLabel = c[ControlId::statusLabel];
  c.progressBar = c[ControlId::progressBar];
  c.finishCheckBox = c[ControlId::finishCheckBox];
  c.availableSpaceLabel = c[ControlId::availableSpaceLabel];
  c.licenceView = c[ControlId::licenceView];
  c.acceptOption = c[ControlId::acceptOption];
  c.doNotAcceptOption = c[ControlId::doNotAcceptOption];
}

// What a control starts with beyond its text: states, ranges, the licence.
void settleControl(SetupRun& run, ControlId id, HWND control) {
  const SetupOptions& options = run.state.options;
  switch (id) {
    case ControlId::backButton:
      ShowWindow(control, SW_HIDE);
      break;
    case ControlId::doNotAcceptOption:
      setChecked(control, true);
      break;
    case ControlId::licenceView: {
      SendMessageW(control, EM_SETTARGETDEVICE, 0, 0);  // wrap at the control's width
      const LRESULT mask = SendMessageW(control, EM_GETEVENTMASK, 0, 0);
      SendMessageW(control, EM_SETEVENTMASK, 0, mask | ENM_LINK);
      SendMessageW(control, EM_AUTOURLDETECT, TRUE, 0);
      const std::u16string licence = run.state.workFolder + u"licence.rtf";
      const DWORD attributes = GetFileAttributesW(wide(licence));
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        loadLicenceText(control, licence);
      }
      break;
    }
    case ControlId::desktopIconCheckBox: {
      const CheckBoxStart start = desktopIconCheckBoxStart(options);
      setChecked(control, start.checked);
      EnableWindow(control, start.enabled);
      break;
    }
    case ControlId::startMenuCheckBox: {
      const CheckBoxStart start = startMenuCheckBoxStart(options);
      setChecked(control, start.checked);
      EnableWindow(control, start.enabled);
      break;
    }
    case ControlId::finishCheckBox:
      setChecked(control, true);
      break;
    case ControlId::progressBar:
      SendMessageW(control, PBM_SETRANGE, 0, MAKELPARAM(0, 10));
      SendMessageW(control, PBM_SETPOS, 0, 0);
      break;
    default:
      break;
  }
}

}  // namespace

bool isChecked(HWND button) { return button && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void prepareWizard(SetupRun& run) {
  WizardResources& r = run.handles.wizardResources;
  const std::u16string& work = run.state.workFolder;
  r.sidePicture = authorPicture(work + u"Image_Left.jpg", 164, 314);
  if (!r.sidePicture) r.sidePicture = builtInBitmap(IDB_WIZARD_SIDE);
  r.headerPicture = authorPicture(work + u"Image_Top.jpg", 55, 55);
  if (!r.headerPicture) r.headerPicture = builtInBitmap(IDB_WIZARD_HEADER);
  r.separatorPicture = builtInSeparator();
  r.folderIcon = shellIcon(19);
  r.startMenuIcon = shellIcon(4);
  r.titleFont = makeFont(L"Verdana", 11, FW_BOLD);
  r.headerTitleFont = makeFont(L"Microsoft Sans Serif", 8, FW_BOLD);
  r.headerSubtitleFont = makeFont(L"Microsoft Sans Serif", 8, FW_NORMAL);
  r.whiteBrush = CreateSolidBrush(kWhite);
  // The licence view's window class lives in the rich-edit library, loaded from the system folder.
  LoadLibraryW(L"riched20.dll");
}

bool buildWizard(SetupRun& run) {
  const WizardResources& resources = run.handles.wizardResources;
  const SetupOptions& options = run.state.options;
  const LanguageTexts& texts = run.state.languageTexts;
  WizardControls& controls = run.handles.wizard;

  if (!registerClasses(LoadIconW(instance(), MAKEINTRESOURCEW(IDI_SETUP)))) return false;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const DWORD extendedStyle = WS_EX_CONTROLPARENT;
  RECT frame{0, 0, kWizardClientWidth, kWizardClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  controls.window = CreateWindowExW(extendedStyle, kWizardClass, wide(texts.Main.Title), style, left, top, width,
                                    height, nullptr, nullptr, instance(), nullptr);
  if (!controls.window) return false;

  const std::u16string freeSpace = formatFreeSpace(options.InstallDir);
  for (const ControlSpec& spec : wizardLayout()) {
    if (!controlExists(spec.id, options)) continue;
    const HWND parent = spec.parent == ControlId::none ? controls.window : controls[spec.parent];
    if (!parent) continue;
    Creation creation = creationOf(spec.kind);
    if (spec.id == ControlId::welcomePanel) creation.style |= WS_VISIBLE;
    if (spec.id == ControlId::acceptOption) creation.style |= WS_GROUP;
    const std::u16string text = wizardControlText(spec.id, texts, options, freeSpace);
    HWND control = CreateWindowExW(creation.extendedStyle, creation.className, wide(text), creation.style, spec.x,
                                   spec.y, spec.width, spec.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlCommandBase +
                                                                                static_cast<int>(spec.id))),
                                   instance(), nullptr);
    controls.byId[static_cast<std::size_t>(spec.id)] = control;
    if (!control) continue;  // a control that cannot be made leaves a gap, not a dead run
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(spec.kind, resources)), FALSE);
    setPicture(control, spec.kind, resources);
    settleControl(run, spec.id, control);
  }
  nameControls(controls);
  run.handles.mainWindow = controls.window;
  return true;
}

void releaseWizard(SetupRun& run) {
  WizardControls& controls = run.handles.wizard;
  if (controls.window) DestroyWindow(controls.window);
  if (run.handles.mainWindow == controls.window) run.handles.mainWindow = nullptr;
  controls = WizardControls{};
  WizardResources& r = run.handles.wizardResources;
  for (HBITMAP bitmap : {r.sidePicture, r.headerPicture, r.separatorPicture}) {
    if (bitmap) DeleteObject(bitmap);
  }
  for (HICON icon : {r.folderIcon, r.startMenuIcon}) {
    if (icon) DestroyIcon(icon);
  }
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(r.titleFont), static_cast<HGDIOBJ>(r.headerTitleFont),
                         static_cast<HGDIOBJ>(r.headerSubtitleFont), static_cast<HGDIOBJ>(r.whiteBrush)}) {
    if (object) DeleteObject(object);
  }
  r = WizardResources{};
}

}  // namespace averlune
