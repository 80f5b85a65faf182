#include "authoring/tool_process.h"

#include <windows.h>

#include <cwchar>
#include <cstdlib>

#include "authoring/windows_command_line.h"

namespace averlune {
namespace fs = std::filesystem;

namespace {

struct HandleHolder {
  HANDLE handle = INVALID_HANDLE_VALUE;
  ~HandleHolder() {
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr) CloseHandle(handle);
  }
};

}  // namespace

fs::path findProgramOnPath(const std::string& name) {
  const wchar_t* path = _wgetenv(L"PATH");
  std::wstring folders = path ? path : L"";
  const fs::path file = fs::u8path(fs::u8path(name).has_extension() ? name : name + ".exe");
  for (std::size_t start = 0; start <= folders.size();) {
    std::size_t end = folders.find(L';', start);
    if (end == std::wstring::npos) end = folders.size();
    std::wstring folder = folders.substr(start, end - start);
    start = end + 1;
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"') folder = folder.substr(1, folder.size() - 2);
    if (folder.empty()) continue;
    const fs::path candidate = fs::path(folder) / file;
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return candidate;
  }
  return {};
}

std::optional<int> runProgram(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& log) {
  std::vector<std::string> words = {std::string(reinterpret_cast<const char*>(program.u8string().c_str()))};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::wstring commandLine = fs::u8path(windowsCommandLine(words)).wstring();

  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HandleHolder output;
  if (!log.empty()) {
    output.handle = CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output.handle == INVALID_HANDLE_VALUE) return std::nullopt;
  }
  const HANDLE toOutput = log.empty() ? GetStdHandle(STD_ERROR_HANDLE) : output.handle;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = toOutput;
  startup.hStdError = toOutput;
  PROCESS_INFORMATION process{};
  // The program is named by its full path, so Windows searches for nothing.
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return std::nullopt;
  }
  HandleHolder processHandle{process.hProcess};
  HandleHolder threadHandle{process.hThread};
  DWORD exitCode = 0;
  if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.hProcess, &exitCode)) {
    return std::nullopt;
  }
  return static_cast<int>(exitCode);
}

}  // namespace averlune
