#include "base/whole_file_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/temp_folder_test_support.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ReplaceFileWhole, ReplacesWholeOrLeavesTheOldFileAndNoTemporaryOne) {
  TempFolder folder;
  const fs::path target = folder.path / "uninstall.exe";
  const fs::path partial = folder.path / "uninstall.exe.partial";

  EXPECT_TRUE(replaceFileWhole(target.u16string(), "first"));
  EXPECT_EQ(contentOf(target), "first");
  EXPECT_TRUE(replaceFileWhole(target.u16string(), "second, longer"));
  EXPECT_EQ(contentOf(target), "second, longer");
  EXPECT_FALSE(fs::exists(partial));

  {
    // The old program in use: it stays as it was.
    const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(replaceFileWhole(target.u16string(), "third"));
    CloseHandle(held);
  }
  EXPECT_EQ(contentOf(target), "second, longer");
  EXPECT_FALSE(fs::exists(partial));

  EXPECT_FALSE(replaceFileWhole((folder.path / "missing" / "u.exe").u16string(), "x"));
  EXPECT_FALSE(fs::exists(folder.path / "missing"));
}

}  // namespace
}  // namespace averlune
