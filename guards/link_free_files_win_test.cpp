#include "guards/link_free_files_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "base/owned_handle_win.h"
#include "base/own_file_win.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

OwnedHandle openForMoving(const fs::path& path) {
  return OwnedHandle(CreateFileW(path.c_str(), DELETE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

OwnedHandle openFolder(const fs::path& path) {
  return OwnedHandle(CreateFileW(path.c_str(), FILE_TRAVERSE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder beside this test program, on its volume, removed with what is left in it.
struct FolderBesideProgram {
  fs::path path = fs::path(ownFilePath()).parent_path() /
                  ("link-free-files-" + std::to_string(std::random_device()()));
  FolderBesideProgram() { fs::create_directories(path); }
  ~FolderBesideProgram() {
    std::error_code ignored;  // a leftover scratch folder harms nothing
    fs::remove_all(path, ignored);
  }
};

TEST(LinkFreeFilesWin, AnOpenFileMovesUnderTheGivenNameAndKeepsATakenOne) {
  FolderBesideProgram scratch;
  fs::create_directories(scratch.path / "from");
  fs::create_directories(scratch.path / "to");
  std::ofstream(scratch.path / "from" / "a.txt") << "a";
  std::ofstream(scratch.path / "from" / "b.txt") << "b";
  std::ofstream(scratch.path / "to" / "taken.txt") << "mine";
  const OwnedHandle to = openFolder(scratch.path / "to");
  ASSERT_TRUE(to);

  {  // Another reader that shares deletion (as a running program's loader does) is no obstacle.
    const OwnedHandle reader(CreateFileW((scratch.path / "from" / "a.txt").c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    const OwnedHandle a = openForMoving(scratch.path / "from" / "a.txt");
    ASSERT_TRUE(reader && a);
    EXPECT_TRUE(renameInFolder(a.get(), to.get(), u"moved.txt", ExistingName::keep));
  }
  EXPECT_FALSE(fs::exists(scratch.path / "from" / "a.txt"));
  EXPECT_EQ(contentOf(scratch.path / "to" / "moved.txt"), "a");

  {
    const OwnedHandle b = openForMoving(scratch.path / "from" / "b.txt");
    ASSERT_TRUE(b);
    for (const std::u16string name : {u"taken.txt", u"..\\b.txt", u"sub/b.txt", u""}) {
      EXPECT_FALSE(renameInFolder(b.get(), to.get(), name, ExistingName::keep)) << fs::path(name).string();
    }
  }  // the C runtime's reader shares no deletion
  EXPECT_EQ(contentOf(scratch.path / "from" / "b.txt"), "b");
  EXPECT_EQ(contentOf(scratch.path / "to" / "taken.txt"), "mine");
}

// The uninstaller moves its own file while it runs from it: so does this test program, and back.
TEST(LinkFreeFilesWin, ARunningProgramsOwnFileMovesWithinItsVolume) {
  FolderBesideProgram scratch;
  const fs::path own{ownFilePath()};
  struct PutBack {  // runs before the scratch folder goes, whatever failed
    fs::path from, to;
    ~PutBack() {
      std::error_code ignored;
      if (!fs::exists(to)) fs::rename(from, to, ignored);
    }
  } putBack{scratch.path / "running.exe", own};
  const OwnedHandle away = openFolder(scratch.path);
  const OwnedHandle home = openFolder(own.parent_path());
  const OwnedHandle image = openForMoving(own);
  ASSERT_TRUE(away && home && image);
  ASSERT_TRUE(renameInFolder(image.get(), away.get(), u"running.exe", ExistingName::keep));
  EXPECT_FALSE(fs::exists(own));
  EXPECT_TRUE(fs::exists(scratch.path / "running.exe"));
  ASSERT_TRUE(renameInFolder(image.get(), home.get(), own.filename().u16string(), ExistingName::keep));
  EXPECT_TRUE(fs::exists(own));
}

}  // namespace
}  // namespace averlune
