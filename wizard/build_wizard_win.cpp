#include "wizard/build_wizard_win.h"

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <string>

#include "base/wide_text_win.h"
#include "base/window_class_win.h"
#include "resources/resource_ids.h"
#include "wizard/free_space_win.h"
#include "wizard/licence_view_win.h"
#include "wizard/wizard_events_win.h"
#include "wizard/wizard_texts.h"

namespace averlune {
namespace {

constexpr wchar_t kWizardClass[] = L"AverluneWizard";
constexpr wchar_t kPanelClass[] = L"AverlunePanel";
constexpr wchar_t kWhitePanelClass[] = L"AverluneWhitePanel";

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

// Panels only group controls: what their controls report belongs to the wizard window. A white
// panel is created with the brush of its background as its creation parameter and gives its
// texts that background.
LRESULT CALLBACK panelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
      break;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const auto brush = reinterpret_cast<HBRUSH>(GetWindowLongPtrW(panel, GWLP_USERDATA));
      if (!brush) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(brush);
    }
    default:
      break;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}

// A class that exists already (a second wizard in one process, as the Windows tests build) is
// as good as a new one.
bool registerClasses(HICON icon) {
  const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  return registerWindowClass(kWizardClass, wizardWindowProc, dialogFaceBrush(), icon) &&
         registerWindowClass(kPanelClass, panelProc, dialogFaceBrush()) &&
         registerWindowClass(kWhitePanelClass, panelProc, white);
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
    case ControlKind::titleText: return static_cast<HFONT>(resources.titleFont.get());
    case ControlKind::headerTitle: return static_cast<HFONT>(resources.headerTitleFont.get());
    case ControlKind::headerSubtitle: return static_cast<HFONT>(resources.headerSubtitleFont.get());
    default: return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
}

void setPicture(HWND control, ControlKind kind, const WizardResources& resources) {
  HGDIOBJ bitmap = nullptr;
  HICON icon = nullptr;
  switch (kind) {
    case ControlKind::sidePicture: bitmap = resources.sidePicture.get(); break;
    case ControlKind::headerPicture: bitmap = resources.headerPicture.get(); break;
    case ControlKind::separatorPicture: bitmap = resources.separatorPicture.get(); break;
    case ControlKind::folderIcon: icon = resources.folderIcon.get(); break;
    case ControlKind::startMenuIcon: icon = resources.startMenuIcon.get(); break;
    default: return;
  }
  if (bitmap) SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  if (icon) SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
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
void settleControl(const SetupState& state, ControlId id, HWND control) {
  const SetupOptions& options = state.options;
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
      const std::u16string licence = state.workFolder + u"licence.rtf";
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

bool buildWizard(Wizard& wizard) {
  const WizardResources& resources = wizard.resources;
  const SetupOptions& options = wizard.state.options;
  const LanguageTexts& texts = wizard.state.languageTexts;
  WizardControls& controls = wizard.controls;

  if (!registerClasses(LoadIconW(instance(), MAKEINTRESOURCEW(IDI_SETUP)))) return false;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const DWORD extendedStyle = WS_EX_CONTROLPARENT;
  RECT frame{0, 0, kWizardClientWidth, kWizardClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  wizard.window = OwnedWindow(CreateWindowExW(extendedStyle, kWizardClass, wide(texts.Main.Title), style, left, top,
                                              width, height, nullptr, nullptr, instance(), &wizard));
  if (!wizard.window) return false;

  const std::u16string freeSpace = formatFreeSpace(options.InstallDir);
  for (const ControlSpec& spec : wizardLayout()) {
    if (!controlExists(spec.id, options)) continue;
    const HWND parent = spec.parent == ControlId::none ? wizard.window.get() : controls[spec.parent];
    if (!parent) continue;
    Creation creation = creationOf(spec.kind);
    if (spec.id == ControlId::welcomePanel) creation.style |= WS_VISIBLE;
    if (spec.id == ControlId::acceptOption) creation.style |= WS_GROUP;
    const bool white = spec.kind == ControlKind::whitePanel || spec.kind == ControlKind::headerBand;
    const std::u16string text = wizardControlText(spec.id, texts, options, freeSpace);
    HWND control = CreateWindowExW(creation.extendedStyle, creation.className, wide(text), creation.style, spec.x,
                                   spec.y, spec.width, spec.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlCommandBase +
                                                                                static_cast<int>(spec.id))),
                                   instance(), white ? resources.whiteBrush.get() : nullptr);
    controls.byId[static_cast<std::size_t>(spec.id)] = control;
    if (!control) continue;  // a control that cannot be made leaves a gap, not a dead run
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(spec.kind, resources)), FALSE);
    setPicture(control, spec.kind, resources);
    settleControl(wizard.state, spec.id, control);
  }
  nameControls(controls);
  return true;
}

void releaseWizard(Wizard& wizard) {
  wizard.window.reset();
  wizard.controls = WizardControls{};
  wizard.resources = WizardResources{};
}

}  // namespace averlune
