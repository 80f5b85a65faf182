#include "wizard/program_start_win.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "config/owned_handle_win.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

const wchar_t* folderOrNone(const std::u16string& folder) { return folder.empty() ? nullptr : wide(folder); }

bool createProcess(const ProgramLaunch& launch) {
  // CreateProcessW may write into its command line, so it gets a copy of its own.
  std::vector<wchar_t> commandLine(wide(launch.commandLine), wide(launch.commandLine) + launch.commandLine.size() + 1);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folderOrNone(launch.workingFolder), &startup, &process)) {
    return false;
  }
  // Not waited for: the handles only have to be given back.
  const OwnedHandle thread(process.hThread);
  const OwnedHandle started(process.hProcess);
  return true;
}

}  // namespace

void startProgram(const ProgramLaunch& launch) {
  if (launch.program.empty() || createProcess(launch)) return;
  SHELLEXECUTEINFOW shell{};
  shell.cbSize = sizeof shell;
  shell.fMask = SEE_MASK_FLAG_NO_UI;  // a file without an associated program stays unreported
  shell.lpFile = wide(launch.program);
  shell.lpDirectory = folderOrNone(launch.workingFolder);
  shell.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&shell);  // failure is not reported, by design
}

}  // namespace averlune
