#include "tests/e2e/driver/wizard_session_win.h"

#include <commctrl.h>

#include "tests/e2e/driver/setup_fixture_win.h"
#include "wizard/wizard_layout.h"
#include "wizard/wizard_pages.h"

namespace averlune::e2e {
namespace {

constexpr int kStartMs = 30000;
constexpr int kPageMs = 10000;
constexpr int kExitMs = 15000;

// The names of each page's screenshots, in page order.
constexpr const wchar_t* kShotNames[kPageCount] = {
    L"1-welcome", L"2-licence", L"3-application-folder", L"4-additional-tasks", L"5-start-menu-folder",
    L"6-installing", L"7-finish",
};

const wchar_t* pageName(ControlId panel) {
  for (const PageFacts& page : wizardPages()) {
    if (page.panel == panel) return kShotNames[static_cast<std::size_t>(page.page)];
  }
  return L"unknown";
}

// Wine mirrors every shell link a program saves into the host's desktop menus, through
// winemenubuilder, which the saving program starts. Disabled for the test prefix (a per-prefix
// DLL override, read when a program starts), so that the setups' start menu links stay inside
// the prefix, where the tests remove them again. Without Wine the key means nothing.
bool keepShellLinksInsideThePrefix() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const wchar_t disabled[] = L"";  // an empty load order: never load it
  const bool ok = RegSetValueExW(key, L"winemenubuilder.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(disabled),
                                 sizeof disabled) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

std::wstring newWorkFolder(const std::set<std::wstring>& before) {
  for (const std::wstring& name : workFoldersInTemp()) {
    if (!before.count(name)) return temporaryFolder() + name + L"\\";
  }
  return L"";
}

}  // namespace

void tickStartMenuBox(WizardSession& w, ControlId page) {
  const HWND box = w.control(ControlId::startMenuCheckBox);
  if (page == ControlId::tasksPanel && SendMessageW(box, BM_GETCHECK, 0, 0) != BST_CHECKED) {
    SendMessageW(box, BM_CLICK, 0, 0);
  }
}

bool pressMessageBoxButtonById(HWND box, int id) {
  const HWND button = GetDlgItem(box, id);
  return button && PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

std::vector<std::wstring> plainCaptions(const std::vector<std::wstring>& captions) {
  std::vector<std::wstring> plain;
  for (std::wstring caption : captions) {
    std::wstring text;
    for (wchar_t c : caption) {
      if (c != L'&') text += c;
    }
    plain.push_back(text);
  }
  return plain;
}

WizardSession::WizardSession(const std::wstring& setup, const std::wstring& title, const std::wstring& shotPrefix,
                             const std::function<void(DWORD processId)>& beforeWizard)
    : linksStayInPrefix_(keepShellLinksInsideThePrefix()),
      foldersBefore_(workFoldersInTemp()),
      process_(setup),
      shotPrefix_(shotPrefix) {
  waitForWizard(title, beforeWizard);
}

WizardSession::WizardSession(const CommandLine& command, const std::wstring& title, const std::wstring& shotPrefix)
    : linksStayInPrefix_(keepShellLinksInsideThePrefix()),
      foldersBefore_(workFoldersInTemp()),
      process_(command),
      shotPrefix_(shotPrefix) {
  waitForWizard(title, nullptr);
}

void WizardSession::waitForWizard(const std::wstring& title, const std::function<void(DWORD processId)>& beforeWizard) {
  if (beforeWizard) beforeWizard(process_.id());
  window_ = waitForWindow(process_.id(), title, kStartMs);
  workFolder_ = newWorkFolder(foldersBefore_);
  if (!window_) return;
  // The wizard builds every page at once: the handles stay the same for the whole run.
  for (const ControlInfo& c : controlsOf(window_)) controls_[c.id] = c.handle;
}

HWND WizardSession::control(ControlId id) const {
  const auto found = controls_.find(kControlCommandBase + static_cast<int>(id));
  return found == controls_.end() ? nullptr : found->second;
}

ControlInfo WizardSession::info(ControlId id) const {
  for (const ControlInfo& c : controlsOf(window_)) {
    if (c.id == kControlCommandBase + static_cast<int>(id)) return c;
  }
  return {};
}

std::wstring WizardSession::text(ControlId id) const {
  const HWND handle = control(id);
  return handle ? windowText(handle) : L"";
}

bool WizardSession::visible(ControlId id) const {
  const HWND handle = control(id);
  return handle && IsWindowVisible(handle);
}

bool WizardSession::press(ControlId id) const { return clickControl(info(id)); }

bool WizardSession::waitForPage(ControlId panel, int timeoutMs) const {
  for (int waited = 0;; waited += 20) {
    if (visible(panel)) {
      // The page change may still be under way on the wizard's thread (the end of the installation
      // shows the finish page from a message, focus last): a message sent now is answered only
      // once that is done.
      SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, timeoutMs, nullptr);
      return true;
    }
    if (waited >= timeoutMs) return false;
    Sleep(20);
  }
}

ControlId WizardSession::currentPage() const {
  for (const PageFacts& page : wizardPages()) {
    if (visible(page.panel)) return page.panel;
  }
  return ControlId::none;
}

bool WizardSession::screenshot(const std::wstring& name) const {
  return saveScreenshot(window_, screenshotPath(shotPrefix_ + L"-" + name));
}

bool WizardSession::nextToInstallingPage(const std::function<void(ControlId page)>& onPage) {
  ControlId page = ControlId::none;
  for (int waited = 0; page == ControlId::none && waited < kPageMs; waited += 50) {
    page = currentPage();
    if (page == ControlId::none) Sleep(50);
  }
  while (page != ControlId::none && page != ControlId::installingPanel && page != ControlId::finishPanel) {
    if (onPage) onPage(page);
    Sleep(300);  // let the page paint what it just showed before the picture is taken
    screenshot(pageName(page));
    lastNextPress_ = std::chrono::steady_clock::now();
    if (!PostMessageW(control(ControlId::nextButton), BM_CLICK, 0, 0)) return false;
    const ControlId left = page;
    page = ControlId::none;
    for (int waited = 0; waited < kPageMs; waited += 20) {
      const ControlId now = currentPage();
      if (now != left && now != ControlId::none) {
        page = now;
        break;
      }
      Sleep(20);
    }
  }
  return page == ControlId::installingPanel || page == ControlId::finishPanel;
}

ProgressSample WizardSession::progressNow() const {
  ProgressSample sample;
  // One WM_GETTEXT into a large buffer: the run changes the text all the time, and a length asked
  // for first may belong to an older, shorter text.
  std::wstring status(4096, L'\0');
  const auto got = SendMessageW(control(ControlId::statusLabel), WM_GETTEXT, status.size(),
                                reinterpret_cast<LPARAM>(status.data()));
  status.resize(static_cast<std::size_t>(got));
  sample.status = status;
  const HWND bar = control(ControlId::progressBar);
  sample.position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  sample.maximum = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));  // FALSE: the high limit
  return sample;
}

bool WizardSession::watchInstallation(const BoxAnswer& answer, int timeoutMs) {
  bool installingShot = false;
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (GetTickCount64() < deadline) {
    if (!process_.running()) return false;
    if (auto box = waitForMessageBox(process_.id(), 0)) {
      const InstallBox met{*box, progressNow()};
      boxes.push_back(met);
      saveScreenshot(box->handle, screenshotPath(shotPrefix_ + L"-box-" + std::to_wstring(boxes.size())));
      pressMessageBoxButtonById(box->handle, answer ? answer(met) : IDABORT);
      // Wait for the box to go before looking again, so one box is counted once.
      for (int waited = 0; waited < kPageMs && IsWindow(box->handle) && IsWindowVisible(box->handle); waited += 20) {
        Sleep(20);
      }
      continue;
    }
    if (visible(ControlId::finishPanel)) {
      // Step 16 puts the bar back to 0 right after the finish page shows; let it land.
      Sleep(200);
      const ProgressSample last = progressNow();
      if (samples.empty() || !(samples.back() == last)) samples.push_back(last);
      Sleep(300);  // let the finish page's texts paint before the picture is taken
      screenshot(pageName(ControlId::finishPanel));
      return true;
    }
    if (visible(ControlId::installingPanel)) {
      const ProgressSample now = progressNow();
      if (samples.empty() || !(samples.back() == now)) samples.push_back(now);
      if (!installingShot) {
        screenshot(pageName(ControlId::installingPanel));
        installingShot = true;
      }
    }
  }
  return false;
}

bool WizardSession::finish() {
  if (!PostMessageW(control(ControlId::nextButton), BM_CLICK, 0, 0)) return false;
  return endsCleanly(kExitMs);
}

bool WizardSession::endsCleanly(int timeoutMs) {
  DWORD exitCode = 99;
  if (!process_.waitForExit(timeoutMs, &exitCode)) return false;
  return exitCode == 0 && !workFolder_.empty() && !folderExists(workFolder_);
}

}  // namespace averlune::e2e
