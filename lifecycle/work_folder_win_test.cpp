#include "lifecycle/work_folder_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/temp_folder_test_support.h"

namespace averlune {
namespace {

// Sets an environment variable for the test's duration and puts the old value back.
struct ScopedVariable {
  const wchar_t* name;
  std::wstring old;
  bool had;
  ScopedVariable(const wchar_t* variable, const std::wstring& value) : name(variable) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    had = length != 0 && length < 32768;
    if (had) old.assign(buffer, length);
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name, had ? old.c_str() : nullptr); }
};

TEST(WorkFolder, WithoutATemporaryFolderThereIsNoWorkFolderNotEvenNextToTheSetup) {
  const TempFolder setupFolder;
  wchar_t before[MAX_PATH];
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, before), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(setupFolder.path.wstring().c_str()));
  {
    // A temporary path longer than the platform allows makes it report none.
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'x');
    const ScopedVariable tmp(L"TMP", tooLong);
    const ScopedVariable temp(L"TEMP", tooLong);
    std::u16string workFolder = u"stale";
    EXPECT_FALSE(makeWorkFolder(workFolder));
    EXPECT_TRUE(workFolder.empty());
  }
  SetCurrentDirectoryW(before);
  EXPECT_TRUE(std::filesystem::is_empty(setupFolder.path));
}

}  // namespace
}  // namespace averlune
