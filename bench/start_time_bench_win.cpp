// Start-time bench: how long programs take from being started to showing their first visible
// top-level window (whichever it is: a splash screen, a dialog, a wizard), as another program
// sees it by polling the window list. The programs are started in turn, alternated run by run,
// each ended again as soon as its window shows.
//   averlune_start_time_bench <runs> <program>...
// Prints which window each program showed first (in a run before the counted ones, which also
// loads the programs into the file cache), one line per run with each program's milliseconds,
// then the medians.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/setup_fixture_win.h"
#include "tests/e2e/driver/window_driver_win.h"

using namespace averlune::e2e;

namespace {

constexpr auto kGiveUp = std::chrono::seconds(30);

struct FirstWindow {
  double milliseconds = -1;  // negative: no window showed
  std::wstring className, title;
};

// The time from starting `program` to its first visible top-level window, and which window it
// was. The process is ended before this returns (terminated and waited for, so its instance lock
// is gone).
FirstWindow startToFirstWindow(const std::wstring& program) {
  FirstWindow first;
  {
    const auto start = std::chrono::steady_clock::now();
    TestProcess process(program, TestProcess::Start::atOnce);
    if (!process.started()) return first;
    for (;;) {
      const auto now = std::chrono::steady_clock::now();
      const std::vector<HWND> windows = topLevelWindows(process.id());
      if (!windows.empty()) {
        first.milliseconds = std::chrono::duration<double, std::milli>(now - start).count();
        first.className = className(windows.front());
        first.title = windowText(windows.front());
        break;
      }
      if (now - start > kGiveUp || !process.running()) break;
      Sleep(1);  // a short nap, not a spin: the program being started needs the processor more
    }
  }  // ends the process
  return first;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || std::wcstol(argv[1], nullptr, 10) < 1) {
    std::fprintf(stderr, "usage: averlune_start_time_bench <runs> <program>...\n");
    return 2;
  }
  const int runs = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  // The work folders the ended setups leave behind go at the end, not after each run: on ext4 the
  // files made in the next minutes skip every freshly deleted one, one by one, which would slow
  // each later run of the setup that makes the most files.
  const std::set<std::wstring> foldersBefore = workFoldersInTemp();
  const Cleanup cleanup({[&] {
    for (const std::wstring& name : workFoldersInTemp()) {
      if (!foldersBefore.count(name)) removeTree(temporaryFolder() + name);
    }
  }});
  const std::vector<std::wstring> programs(argv + 2, argv + argc);
  for (const std::wstring& program : programs) {
    const FirstWindow first = startToFirstWindow(program);
    if (first.milliseconds < 0) {
      std::fprintf(stderr, "%ls showed no window\n", program.c_str());
      return 1;
    }
    std::printf("first window of %ls: class \"%ls\", title \"%ls\"\n", program.c_str(), first.className.c_str(),
                first.title.c_str());
  }
  std::vector<std::vector<double>> times(programs.size());
  for (int run = 1; run <= runs; ++run) {
    std::printf("run %d:", run);
    for (std::size_t i = 0; i < programs.size(); ++i) {
      const double ms = startToFirstWindow(programs[i]).milliseconds;
      if (ms < 0) {
        std::fprintf(stderr, "\n%ls showed no window\n", programs[i].c_str());
        return 1;
      }
      times[i].push_back(ms);
      std::printf(" %.0f", ms);
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  std::printf("medians:");
  for (const std::vector<double>& t : times) std::printf(" %.0f", median(t));
  std::printf("\n");
  return 0;
}
