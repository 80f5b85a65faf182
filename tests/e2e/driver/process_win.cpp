#include "tests/e2e/driver/process_win.h"

namespace averlune::e2e {

TestProcess::TestProcess(const std::wstring& program, Start start) {
  std::wstring commandLine = L"\"" + program + L"\"";
  const std::size_t separator = program.find_last_of(L"\\/");
  const std::wstring folder = separator == std::wstring::npos ? L"" : program.substr(0, separator);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
    info_ = {};
    return;
  }
  // Let the program reach its message loop before the test looks for its windows.
  if (start == Start::whenIdle) WaitForInputIdle(info_.hProcess, 10000);
}

TestProcess::TestProcess(const CommandLine& command) {
  std::wstring commandLine = command.text;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      command.currentFolder.empty() ? nullptr : command.currentFolder.c_str(), &startup, &info_)) {
    info_ = {};
    return;
  }
  WaitForInputIdle(info_.hProcess, 10000);
}

TestProcess::~TestProcess() {
  if (!started()) return;
  if (running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool TestProcess::waitForExit(int timeoutMs, DWORD* exitCode) {
  if (!started() || WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
  return true;
}

bool TestProcess::running() { return started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

}  // namespace averlune::e2e
