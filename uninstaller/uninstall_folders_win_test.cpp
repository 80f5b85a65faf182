#include "uninstaller/uninstall_folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/path_text.h"
#include "guards/protected_folders_win.h"
#include "base/temp_folder_test_support.h"
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

  // The shortcut folders are where links may be removed from, and are themselves refused; the
  // Startup folder is one of the system's folders in the Programs folder.
  const std::vector<std::u16string> programsList = programsFolders();
  const std::vector<std::u16string> desktops = desktopFolders();
  const std::vector<std::u16string> shellList = shellFoldersInPrograms();
  const std::u16string programs = shellFolder(CSIDL_PROGRAMS);
  ASSERT_FALSE(programs.empty());
  const auto ends = [](const std::u16string& folder) { return !folder.empty() && folder.back() == u'\\'; };
  for (const auto* list : {&programsList, &desktops, &shellList}) {
    EXPECT_FALSE(list->empty());
    EXPECT_TRUE(std::all_of(list->begin(), list->end(), ends));
  }
  EXPECT_NE(std::find(programsList.begin(), programsList.end(), programs), programsList.end());
  EXPECT_NE(std::find(shellList.begin(), shellList.end(), shellFolder(CSIDL_STARTUP)), shellList.end());
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
}

// Folder records as the removal pass carries them out: the files directly inside go, read-only
// ones and subfolders stay, and the folder goes only once it is empty.
TEST(RemovalSystemWin, AFolderRecordEmptiesOneLevelAndRemovesTheFolderOnlyWhenEmpty) {
  TempFolder scratch;
  const RemovalSystem system = windowsRemovalSystem();
  RemovalScope scope;
  scope.appFolder = scratch.folder();
  auto place = [&scope](const std::u16string& path, bool folder) { return placeOfRecordPath(path, folder, scope); };
  const std::u16string folder = scratch.folder() + u"app\\";
  fs::create_directories(fs::path(folder) / "sub");
  const std::u16string plain = folder + u"plain.txt";
  const std::u16string kept = folder + u"kept.txt";
  const std::u16string inner = folder + u"sub\\inner.txt";
  for (const std::u16string& path : {plain, kept, inner}) {
    std::ofstream(fs::path(path), std::ios::binary) << "x";
  }
  ASSERT_TRUE(SetFileAttributesW(fs::path(kept).c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_TRUE(system.removeFolder(place(folder, true), nullptr));
  EXPECT_FALSE(system.exists(plain));
  EXPECT_TRUE(system.exists(kept));
  EXPECT_TRUE(system.exists(inner));
  EXPECT_TRUE(system.exists(folder));

  EXPECT_TRUE(system.removeFile(place(inner, false), nullptr));
  EXPECT_TRUE(system.removeFolder(place(folder + u"sub\\", true), nullptr));
  EXPECT_FALSE(system.exists(folder + u"sub\\"));
  EXPECT_TRUE(system.removeFile(place(kept, false), nullptr));  // read-only: stays
  EXPECT_TRUE(system.exists(kept));
  ASSERT_TRUE(SetFileAttributesW(fs::path(kept).c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(system.removeFile(place(kept, false), nullptr));
  EXPECT_TRUE(system.removeFolder(place(folder, true), nullptr));
  EXPECT_FALSE(system.exists(folder));

  // A file record that names a folder removes nothing; what is gone is reached all the same, what
  // lies in a folder that is gone is not.
  fs::create_directories(fs::path(folder));
  EXPECT_TRUE(system.removeFile(place(folder, false), nullptr));
  EXPECT_TRUE(system.exists(folder));
  EXPECT_TRUE(system.removeFile(place(folder + u"gone.txt", false), nullptr));
  EXPECT_TRUE(system.removeFolder(place(folder + u"gone\\", true), nullptr));
  EXPECT_FALSE(system.removeFile(place(folder + u"gone\\a.txt", false), nullptr));
}

// The remover judges a place by the names the system keeps, read through its handles: a short
// name given in a record ("QUARTE~1.LNK", or Wine's own hashed form) stands for its long name.
TEST(RemovalSystemWin, TheLongNameCheckSeesTheNamesTheSystemKeeps) {
  TempFolder scratch;
  const RemovalSystem system = windowsRemovalSystem();
  const std::u16string folder = scratch.folder() + u"Administrative Tools\\";
  fs::create_directories(fs::path(folder));
  const std::u16string document = folder + u"Quarterly Report.lnkx";
  std::ofstream(fs::path(document), std::ios::binary) << "x";
  const std::u16string alias = shortForm(document);
  if (alias.empty() || alias == document) GTEST_SKIP() << "this file system keeps no short names";
  // From the scratch folder down, both parts in their short form.
  const std::size_t last = alias.find_last_of(u'\\');
  const std::size_t before = alias.find_last_of(u'\\', last - 1);
  RecordPlace place;
  place.allowed = true;
  place.root = scratch.folder();
  place.parts = {alias.substr(before + 1, last - before - 1), alias.substr(last + 1)};
  ASSERT_NE(place.parts, (std::vector<std::u16string>{u"Administrative Tools", u"Quarterly Report.lnkx"}));

  std::vector<std::u16string> seen;
  auto refuse = [&seen](const RecordPlace& longPlace) {
    seen = longPlace.parts;
    return false;
  };
  EXPECT_FALSE(system.removeFile(place, refuse));  // not reached: the rules refuse its long name
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"Administrative Tools", u"Quarterly Report.lnkx"}));
  EXPECT_TRUE(system.exists(document));
  EXPECT_TRUE(system.removeFile(place, [](const RecordPlace&) { return true; }));
  EXPECT_FALSE(system.exists(document));
}

}  // namespace
}  // namespace averlune
