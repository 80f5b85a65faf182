#pragma once
// A program under test, started by the test and ended with it: a test that fails half-way never
// leaves a setup running that would hold the instance lock for the next test.
#include <windows.h>

#include <string>

namespace averlune::e2e {

// A command line as a program of the system starts it (the list of installed programs, a
// deployment tool): the program is its first part, quoted or not; the current folder is given.
struct CommandLine {
  std::wstring text;
  std::wstring currentFolder;
};

class TestProcess {
 public:
  // How long the constructor waits: until the program first waits for input (its message loop
  // is running), or not at all, for tests that watch what a program shows before that.
  enum class Start { whenIdle, atOnce };

  // Starts `program` with its own folder as the current folder.
  explicit TestProcess(const std::wstring& program, Start start = Start::whenIdle);
  explicit TestProcess(const CommandLine& command);
  ~TestProcess();
  TestProcess(const TestProcess&) = delete;
  TestProcess& operator=(const TestProcess&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  // True when the process ended within the timeout; `exitCode` then holds its code.
  bool waitForExit(int timeoutMs, DWORD* exitCode = nullptr);
  bool running();

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace averlune::e2e
