// Walks a setup the way a user clicking Next would, saving a screenshot of every window it meets:
//   averlune_demo_walk.exe <setup.exe> <screenshot folder>
// Prints one line per window. Used by the README's demo command; ends when the setup ends.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/window_driver_win.h"

using namespace averlune::e2e;

namespace {

constexpr int kWindowWaitMs = 30000;
constexpr int kSettleMs = 700;
constexpr ULONGLONG kPatienceMs = 20000;

// Buttons a user presses to go forward, most specific first.
const wchar_t* const kForwardCaptions[] = {L"Next >", L"Install", L"Finish", L"OK", L"Yes"};

std::wstring fileSafe(std::wstring text) {
  for (wchar_t& c : text) {
    if (!iswalnum(c)) c = L'-';
  }
  return text.empty() ? L"window" : text;
}

// A fingerprint of what is on screen, so a page is saved once however long it stays.
std::wstring stateOf(HWND window, const std::vector<ControlInfo>& controls) {
  std::wstring state = windowText(window);
  for (const ControlInfo& control : controls) {
    if (control.visible) state += L"|" + control.text;
  }
  return state;
}

// Presses a forward button of the page as it was when `controls` were read, so a page that changes
// meanwhile (the installing page turning into the finish page) is first seen and saved.
bool pressForward(const std::vector<ControlInfo>& controls) {
  for (const wchar_t* caption : kForwardCaptions) {
    for (const ControlInfo& control : controls) {
      if (control.className == L"Button" && control.text == caption && control.visible && control.enabled) {
        return clickControl(control);
      }
    }
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: averlune_demo_walk <setup.exe> <screenshot folder>\n");
    return 2;
  }
  const std::wstring folder = argv[2];
  CreateDirectoryW(folder.c_str(), nullptr);
  TestProcess setup(argv[1]);
  if (!setup.started()) {
    std::fprintf(stderr, "cannot start %ls\n", argv[1]);
    return 1;
  }
  std::set<std::wstring> seen;
  int saved = 0;
  std::wstring lastState;
  ULONGLONG unchangedSince = GetTickCount64();
  while (setup.running()) {
    // A message box sits on top of its owner: answer it first.
    HWND window = nullptr;
    for (HWND candidate : topLevelWindows(setup.id())) {
      if (!window || className(candidate) == L"#32770") window = candidate;
    }
    if (!window) {
      window = waitForAnyWindow(setup.id(), kWindowWaitMs);
      if (!window) break;
    }
    Sleep(kSettleMs);  // let the page finish drawing
    const std::vector<ControlInfo> controls = controlsOf(window);
    const std::wstring state = stateOf(window, controls);
    // A window that closed while it was being read (the splash screen whose time ran out) is
    // nothing to save or press.
    if (!IsWindow(window)) continue;
    if (seen.insert(state).second) {
      wchar_t name[32];
      swprintf(name, 32, L"%02d-", ++saved);
      const std::wstring path = folder + L"\\" + name + fileSafe(windowText(window)) + L".png";
      const bool ok = saveScreenshot(window, path);
      std::printf("%s %ls\n", ok ? "saved" : "could not save", path.c_str());
    }
    if (state != lastState) {
      lastState = state;
      unchangedSince = GetTickCount64();
    }
    // Forward when the window offers a way forward; a page that works on its own (installing) is
    // left alone until it has shown nothing new for a while, then closed as a user would.
    if (!pressForward(controls) && GetTickCount64() - unchangedSince > kPatienceMs) {
      closeWindow(window);
      unchangedSince = GetTickCount64();
    }
    if (setup.waitForExit(kSettleMs)) break;
  }
  const bool ended = setup.waitForExit(kWindowWaitMs);
  std::printf("%s\n", ended ? "the setup has ended" : "the setup is still running; ending it");
  return ended ? 0 : 1;
}
