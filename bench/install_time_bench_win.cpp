// Installation-time bench: one run of a finished sample setup (the sample's configuration, any
// application folder as its payload) driven through its wizard as the end-to-end tests drive it,
// into the given application folder. Times the run from the press of Next that starts the
// installation to the finish page showing, then presses Finish.
//   averlune_install_time_bench <setup.exe> <application folder>
// Prints the seconds. The start menu folder and the uninstall entry of the sample are removed
// before and after; the application folder is the caller's to empty beforehand.
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/sample_setup_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

using namespace averlune;
using namespace averlune::e2e;

namespace {

constexpr auto kGiveUp = std::chrono::minutes(20);
constexpr int kPollMs = 20;

// Waits for the finish page; false when the run shows a message box (an error), ends, or takes
// longer than any installation of the bench payload could.
bool waitForFinishPage(WizardSession& w) {
  const auto start = std::chrono::steady_clock::now();
  while (!w.waitForPage(ControlId::finishPanel, kPollMs)) {
    if (auto box = waitForMessageBox(w.processId(), 0)) {
      std::fprintf(stderr, "the setup showed a message box: %ls\n", box->text.c_str());
      return false;
    }
    if (std::chrono::steady_clock::now() - start > kGiveUp) {
      std::fprintf(stderr, "the setup did not reach its finish page\n");
      return false;
    }
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: averlune_install_time_bench <setup.exe> <application folder>\n");
    return 2;
  }
  const std::wstring appFolder = argv[2];
  const std::wstring startMenuFolder = shellFolder(CSIDL_PROGRAMS) + kSampleApp + L"\\";
  const Cleanup cleanup({[&] { removeTree(startMenuFolder); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kSampleApp)); }});
  WizardSession w(argv[1], kSampleApp + L" Setup", L"bench-install");
  if (!w.started()) {
    std::fprintf(stderr, "the setup's wizard did not show\n");
    return 1;
  }
  const bool installing = w.nextToInstallingPage([&](ControlId page) {
    if (page == ControlId::appFolderPanel) SetWindowTextW(w.control(ControlId::appFolderField), appFolder.c_str());
  });
  if (!installing || !waitForFinishPage(w)) return 1;
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - w.lastNextPress()).count();
  std::printf("%.2f\n", seconds);
  if (!w.finish()) {
    std::fprintf(stderr, "the setup did not end cleanly after Finish\n");
    return 1;
  }
  return 0;
}
