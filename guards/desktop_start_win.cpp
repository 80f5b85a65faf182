#include "guards/desktop_start_win.h"

#include <windows.h>
#include <shellapi.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <servprov.h>

#include <vector>

#include "base/owned_handle_win.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

// SID_STopLevelBrowser: the service of a shell window that is its browser.
constexpr GUID kTopLevelBrowser = {0x4c96be40, 0x915c, 0x11cf, {0x99, 0xd3, 0x00, 0xaa, 0x00, 0x4a, 0xe8, 0x37}};

const wchar_t* textOrNone(const std::u16string& text) { return text.empty() ? nullptr : wide(text); }

// A VARIANT that clears itself: a text (a BSTR of its own), a number, or empty.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  explicit Variant(const std::u16string& text) : Variant() {
    value_.vt = VT_BSTR;
    value_.bstrVal = SysAllocStringLen(wide(text), static_cast<UINT>(text.size()));
  }
  explicit Variant(LONG number) : Variant() {
    value_.vt = VT_I4;
    value_.lVal = number;
  }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* get() { return &value_; }
  bool holdsText() const { return value_.vt == VT_BSTR && value_.bstrVal; }

 private:
  VARIANT value_;
};

// The desktop's shell, reached as the program's own: the shell windows of the session, the one of
// the desktop among them, its view, and the shell object behind that view, whose ShellExecute runs
// in the desktop's process. Null where a step is missing (no desktop shell runs).
ComPtr<IShellDispatch2> desktopShell() {
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.putVoid()))) {
    return {};
  }
  Variant location(static_cast<LONG>(CSIDL_DESKTOP));
  Variant root;
  LONG window = 0;
  ComPtr<IDispatch> desktop;
  if (windows->FindWindowSW(location.get(), root.get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.put()) != S_OK ||
      !desktop) {
    return {};
  }
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  ComPtr<IShellDispatch2> shell;
  if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.putVoid())) ||
      FAILED(services->QueryService(kTopLevelBrowser, IID_IShellBrowser, browser.putVoid())) ||
      FAILED(browser->QueryActiveShellView(view.put())) ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.putVoid())) ||
      FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.putVoid())) ||
      FAILED(folderView->get_Application(application.put())) || !application ||
      FAILED(application->QueryInterface(IID_IShellDispatch2, shell.putVoid()))) {
    return {};
  }
  return shell;
}

bool startThroughDesktopShell(const DesktopStart& start) {
  const ComPtr<IShellDispatch2> shell = desktopShell();
  if (!shell) return false;
  Variant file(start.file);
  Variant arguments(start.arguments);
  Variant folder(start.folder);
  // A program takes its default verb, as a double click would; an address opens.
  Variant verb(start.kind == DesktopStartKind::address ? std::u16string(u"open") : std::u16string());
  Variant show(static_cast<LONG>(SW_SHOWNORMAL));
  if (!file.holdsText()) return false;
  return SUCCEEDED(shell->ShellExecute(file.get()->bstrVal, *arguments.get(), *folder.get(), *verb.get(), *show.get()));
}

bool startAsOwnProcess(const DesktopStart& start) {
  // The full path is the application name, so nothing is searched for; CreateProcessW may write
  // into its command line, so it gets a copy of its own.
  const std::u16string line = desktopStartCommandLine(start);
  std::vector<wchar_t> commandLine(wide(line), wide(line) + line.size() + 1);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(wide(start.file), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      textOrNone(start.folder), &startup, &process)) {
    return false;
  }
  // Not waited for: the handles only have to be given back.
  const OwnedHandle thread(process.hThread);
  const OwnedHandle started(process.hProcess);
  return true;
}

bool openThroughOwnShell(const DesktopStart& start) {
  SHELLEXECUTEINFOW shell{};
  shell.cbSize = sizeof shell;
  shell.fMask = SEE_MASK_FLAG_NO_UI;  // a file without an associated program stays unreported
  shell.lpVerb = start.kind == DesktopStartKind::address ? L"open" : nullptr;
  shell.lpFile = wide(start.file);
  shell.lpParameters = textOrNone(start.arguments);
  shell.lpDirectory = textOrNone(start.folder);
  shell.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&shell) != FALSE;
}

}  // namespace

DesktopStartWay startTryingWays(const DesktopStart& start, const std::vector<DesktopStartWay>& ways) {
  const ComInitialization com;  // the shell's objects want COM on this thread
  for (const DesktopStartWay way : ways) {
    switch (way) {
      case DesktopStartWay::desktopShell:
        if (startThroughDesktopShell(start)) return way;
        break;
      case DesktopStartWay::ownProcess:
        if (startAsOwnProcess(start)) return way;
        break;
      case DesktopStartWay::ownShell:
        if (openThroughOwnShell(start)) return way;
        break;
      case DesktopStartWay::none: break;
    }
  }
  return DesktopStartWay::none;
}

DesktopStartWay startOnDesktop(const DesktopStart& start) { return startTryingWays(start, desktopStartWays(start)); }

}  // namespace averlune
