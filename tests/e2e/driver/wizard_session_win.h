#pragma once
// One running setup driven through its wizard: pages found by their panels, Next pressed through
// to the installing page, the installing page watched (status text, progress bar, message boxes)
// until the finish page, Finish pressed. Screenshots of every page met.
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/window_driver_win.h"
#include "wizard/wizard_layout.h"

namespace averlune::e2e {

// What the installing page showed at one moment.
struct ProgressSample {
  std::wstring status;
  int position = 0;
  int maximum = 0;
  bool operator==(const ProgressSample& other) const {
    return status == other.status && position == other.position && maximum == other.maximum;
  }
};

// A message box met on the installing page and the state of the page behind it.
struct InstallBox {
  MessageBoxInfo box;
  ProgressSample page;
};

// The answer to a message box: the button's dialog id (IDOK, IDABORT, IDRETRY, IDIGNORE).
using BoxAnswer = std::function<int(const InstallBox& box)>;

class WizardSession {
 public:
  // Starts the setup and waits for its wizard window titled `title`. `shotPrefix` names the
  // screenshots of this run. `beforeWizard`, when given, runs first with the setup's process id,
  // to answer what comes before the wizard (the language dialog).
  WizardSession(const std::wstring& setup, const std::wstring& title, const std::wstring& shotPrefix,
                const std::function<void(DWORD processId)>& beforeWizard = nullptr);
  // The same for a setup started with a command line of its own.
  WizardSession(const CommandLine& command, const std::wstring& title, const std::wstring& shotPrefix);

  bool started() const { return window_ != nullptr; }
  DWORD processId() const { return process_.id(); }
  bool running() { return process_.running(); }
  const std::wstring& workFolder() const { return workFolder_; }
  HWND window() const { return window_; }

  HWND control(ControlId id) const;
  // The control as it is now: text, state, and place in the wizard's client pixels.
  ControlInfo info(ControlId id) const;
  std::wstring text(ControlId id) const;
  bool visible(ControlId id) const;
  // Presses a button, check box or option as a user's click would; false when it is disabled.
  bool press(ControlId id) const;
  bool waitForPage(ControlId panel, int timeoutMs) const;
  // The panel of the page shown now, or ControlId::none.
  ControlId currentPage() const;
  bool screenshot(const std::wstring& name) const;

  // Presses Next on every page until the installing page (or the finish page, when the
  // installation was over before it could be seen) shows; screenshots each page met. `onPage`
  // may change a page's controls before Next is pressed. False when a page did not follow.
  bool nextToInstallingPage(const std::function<void(ControlId page)>& onPage = nullptr);
  // When nextToInstallingPage last pressed Next: after it returns, the press that started the
  // installation (the benchmarks time the installation from there).
  std::chrono::steady_clock::time_point lastNextPress() const { return lastNextPress_; }

  // Watches the installing page until the finish page shows, the process ends or `timeoutMs`
  // runs out. Every change of the status text or the progress bar is kept in `samples`, every
  // message box met in `boxes`, answered with `answer`. True when the finish page was reached.
  bool watchInstallation(const BoxAnswer& answer, int timeoutMs = 60000);

  ProgressSample progressNow() const;

  // Presses Finish and waits for the process to end. True when it ended with exit code 0 and
  // its work folder is gone.
  bool finish();
  // Waits for the process to end (after an Abort, say). Same result as finish().
  bool endsCleanly(int timeoutMs = 15000);

  std::vector<ProgressSample> samples;
  std::vector<InstallBox> boxes;

 private:
  void waitForWizard(const std::wstring& title, const std::function<void(DWORD processId)>& beforeWizard);

  bool linksStayInPrefix_;  // set up before the setup starts, see the constructor
  std::set<std::wstring> foldersBefore_;
  TestProcess process_;
  HWND window_ = nullptr;
  std::wstring workFolder_;
  std::wstring shotPrefix_;
  std::map<int, HWND> controls_;  // by command id
  std::chrono::steady_clock::time_point lastNextPress_;
};

// On the tasks page, ticks the start menu folder box when it is not ticked: for the journeys whose
// script lets the user choose and whose links are the point.
void tickStartMenuBox(WizardSession& w, ControlId page);

// Presses the message box button with dialog id `id` (IDABORT, IDRETRY, IDIGNORE, IDOK).
bool pressMessageBoxButtonById(HWND box, int id);
// The button captions without their "&" accelerator marks.
std::vector<std::wstring> plainCaptions(const std::vector<std::wstring>& captions);

}  // namespace averlune::e2e
