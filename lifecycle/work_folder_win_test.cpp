#include "lifecycle/work_folder_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "guards/dacl_test_support_win.h"
#include "base/temp_folder_test_support.h"

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
    OwnedHandle held;
    EXPECT_FALSE(makeWorkFolder(workFolder, held));
    EXPECT_TRUE(workFolder.empty());
    EXPECT_FALSE(held);
  }
  SetCurrentDirectoryW(before);
  EXPECT_TRUE(std::filesystem::is_empty(setupFolder.path));
}

// The folder the elevated run reads its configuration and plug-in from: only Administrators and
// SYSTEM may use it, it cannot be renamed away while held, and its removal deletes what is in it
// without following a link planted there.
TEST(WorkFolder, IsForAdministratorsAloneHeldAndRemovedWithoutFollowingALink) {
  const TempFolder outside;
  const std::u16string kept = outside.write(u"kept.txt", "not the run's");
  std::u16string workFolder;
  OwnedHandle held;
  ASSERT_TRUE(makeWorkFolder(workFolder, held));
  ASSERT_TRUE(held);
  const std::filesystem::path folder(std::u16string(workFolder, 0, workFolder.size() - 1));
  ASSERT_TRUE(std::filesystem::is_directory(folder));

  const FileDaclFacts facts = fileDaclFacts(workFolder);
  EXPECT_TRUE(facts.read);
  EXPECT_FALSE(facts.usersMayRead);
  EXPECT_FALSE(facts.usersMayChange);
  if (systemKeepsDaclsAsWritten()) {
    EXPECT_TRUE(facts.isProtected);
  }

  // Held without delete sharing: nobody can rename it and put another folder in its place.
  const std::filesystem::path moved = folder.wstring() + L".moved";
  EXPECT_FALSE(MoveFileW(folder.c_str(), moved.c_str()));

  std::filesystem::create_directories(folder / "inner");
  std::ofstream(folder / "inner" / "SC.dat") << "[Setup]";
  std::ofstream(folder / "dll.dll") << "MZ";
  // A junction (Windows) or a link to a folder outside: removed as a link, never emptied.
  const bool linked = CreateSymbolicLinkW((folder / "link").c_str(), outside.path.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
  removeWorkFolder(held, workFolder);
  EXPECT_FALSE(held);
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_FALSE(std::filesystem::exists(moved));
  if (linked) {
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(kept)));
  }
}

}  // namespace
}  // namespace averlune
