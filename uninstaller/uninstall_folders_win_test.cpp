#include "uninstaller/uninstall_folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/path_text.h"
#include "config/temp_folder_test_support.h"
#include "uninstaller/removal_system_win.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

std::u16string shellFolder(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return addBackslash(fs::path(path).u16string());
}

std::u16string windowsFolder() {
  wchar_t path[MAX_PATH] = L"";
  const UINT length = GetWindowsDirectoryW(path, MAX_PATH);
  return length ? addBackslash(fs::path(path).u16string()) : std::u16string();
}

std::u16string shortForm(const std::u16string& path) {
  wchar_t text[MAX_PATH] = L"";
  const DWORD length = GetShortPathNameW(fs::path(path).c_str(), text, MAX_PATH);
  return length && length < MAX_PATH ? fs::path(text).u16string() : std::u16string();
}

std::u16string upper(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return text;
}

// This machine's folders, as the uninstaller asks for them before it trusts a log's header.
TEST(UninstallFoldersWin, TheMachinesOwnFoldersAreRefusedHoweverTheyAreSpelled) {
  const std::vector<ProtectedFolder> folders = protectedFolders();
  const std::u16string windows = windowsFolder();
  const std::u16string programFiles = shellFolder(CSIDL_PROGRAM_FILES);
  const std::u16string profile = shellFolder(CSIDL_PROFILE);
  ASSERT_FALSE(windows.empty());
  ASSERT_FALSE(programFiles.empty());
  ASSERT_FALSE(profile.empty());
  auto refused = [&](const std::u16string& folder) { return isRefusedAppFolder(folder, folders, folderIdentity); };

  EXPECT_TRUE(refused(u"C:\\"));
  EXPECT_TRUE(refused(windows));
  EXPECT_TRUE(refused(upper(windows)));
  EXPECT_TRUE(refused(windows + u"System32\\"));
  EXPECT_TRUE(refused(windows + u"Fonts\\"));
  EXPECT_TRUE(refused(programFiles));
  EXPECT_TRUE(refused(profile));
  EXPECT_TRUE(refused(u"C:\\Users\\Someone Else\\"));  // a profile of the folder of all profiles
  const std::u16string shortProgramFiles = shortForm(programFiles);
  if (!shortProgramFiles.empty()) {
    EXPECT_TRUE(refused(addBackslash(shortProgramFiles)));
  }

  // An application's own folder, wherever the user put it.
  EXPECT_FALSE(refused(programFiles + u"Averlune Sample Notes\\"));
  EXPECT_FALSE(refused(profile + u"Tools\\Notes\\"));

  // The shortcut folders are where links may be removed from, and are themselves refused.
  const std::vector<std::u16string> shortcuts = shortcutFolders();
  const std::u16string programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  const auto ends = [](const std::u16string& folder) { return !folder.empty() && folder.back() == u'\\'; };
  EXPECT_TRUE(std::all_of(shortcuts.begin(), shortcuts.end(), ends));
  EXPECT_NE(std::find(shortcuts.begin(), shortcuts.end(), programs), shortcuts.end());
  EXPECT_TRUE(refused(programs));
}

TEST(UninstallFoldersWin, AFoldersIdentityIsTheSameWhateverItsSpellingAndAFileHasNone) {
  TempFolder scratch;
  const std::u16string folder = scratch.folder();
  const std::u16string file = scratch.write(u"a.txt", "a");
  const auto identity = folderIdentity(folder);
  ASSERT_TRUE(identity);
  EXPECT_EQ(folderIdentity(upper(folder)), identity);
  EXPECT_EQ(folderIdentity(folder + u"."), identity);
  EXPECT_FALSE(folderIdentity(file));
  EXPECT_FALSE(folderIdentity(folder + u"missing\\"));

  // The log's header must name the uninstaller's own folder, however it spells it.
  fs::create_directories(scratch.path / "Application Folder");
  fs::create_directories(scratch.path / "Other");
  const std::u16string app = folder + u"Application Folder\\";
  const std::u16string shortApp = shortForm(app);
  EXPECT_TRUE(isOwnAppFolder(upper(app), app, folderIdentity));
  if (!shortApp.empty()) {
    EXPECT_TRUE(isOwnAppFolder(addBackslash(shortApp), app, folderIdentity));
  }
  EXPECT_FALSE(isOwnAppFolder(folder + u"Other\\", app, folderIdentity));
  EXPECT_FALSE(isOwnAppFolder(folder + u"Moved Away\\", app, folderIdentity));
}

// Folder records as the removal pass carries them out: the files directly inside go, read-only
// ones and subfolders stay, and the folder goes only once it is empty.
TEST(RemovalSystemWin, AFolderRecordEmptiesOneLevelAndRemovesTheFolderOnlyWhenEmpty) {
  TempFolder scratch;
  const RemovalSystem system = windowsRemovalSystem();
  const std::u16string folder = scratch.folder() + u"app\\";
  fs::create_directories(fs::path(folder) / "sub");
  const std::u16string plain = folder + u"plain.txt";
  const std::u16string kept = folder + u"kept.txt";
  const std::u16string inner = folder + u"sub\\inner.txt";
  for (const std::u16string& path : {plain, kept, inner}) {
    std::ofstream(fs::path(path), std::ios::binary) << "x";
  }
  ASSERT_TRUE(SetFileAttributesW(fs::path(kept).c_str(), FILE_ATTRIBUTE_READONLY));

  system.removeFolder(folder);
  EXPECT_FALSE(system.exists(plain));
  EXPECT_TRUE(system.exists(kept));
  EXPECT_TRUE(system.exists(inner));
  EXPECT_TRUE(system.exists(folder));
  EXPECT_FALSE(system.isLink(folder));

  system.removeFile(inner);
  system.removeFolder(folder + u"sub\\");
  EXPECT_FALSE(system.exists(folder + u"sub\\"));
  ASSERT_TRUE(SetFileAttributesW(fs::path(kept).c_str(), FILE_ATTRIBUTE_NORMAL));
  system.removeFile(kept);
  system.removeFolder(folder);
  EXPECT_FALSE(system.exists(folder));

  // A file record that names a folder removes nothing; a record for what is gone is passed over.
  fs::create_directories(fs::path(folder));
  system.removeFile(folder);
  EXPECT_TRUE(system.exists(folder));
  system.removeFile(folder + u"gone.txt");
  system.removeFolder(folder + u"gone\\");
}

}  // namespace
}  // namespace averlune
