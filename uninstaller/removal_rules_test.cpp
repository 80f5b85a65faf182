#include "uninstaller/removal_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "base/text_decoding.h"

namespace averlune {
namespace {

TEST(RemovalRules, TheApplicationFolderIsTheUninstallersOwnByTextOnly) {
  const std::u16string own = u"C:\\Apps\\Tool\\";
  for (const char16_t* same : {u"C:\\Apps\\Tool\\", u"c:\\apps\\TOOL", u"C:/Apps/Tool./", u"C:\\Apps\\.\\Tool\\"}) {
    EXPECT_TRUE(isOwnAppFolder(same, own)) << encodeUtf8(same);
  }
  // A short name or a link may lead to the same folder today and elsewhere once the question is up.
  for (const char16_t* other : {u"C:\\Apps\\TOOL~1\\", u"C:\\Links\\Tool\\", u"C:\\Apps\\Tool\\Sub\\", u"C:\\Apps\\", u"",
                                u"Tool\\", u"C:\\Apps\\Tool\\..\\Tool\\"}) {
    EXPECT_FALSE(isOwnAppFolder(other, own)) << encodeUtf8(other);
  }
  // The uninstall entry that vouches for the log is the one whose UninstallString names this file.
  const std::u16string file = u"C:\\Apps\\Tool\\uninstall.exe";
  for (const char16_t* same : {u"\"C:\\Apps\\Tool\\uninstall.exe\"", u"C:\\Apps\\Tool\\uninstall.exe",
                               u"c:\\apps\\tool\\UNINSTALL.EXE", u"\"C:/Apps/Tool/uninstall.exe\""}) {
    EXPECT_TRUE(namesUninstaller(same, file)) << encodeUtf8(same);
  }
  for (const char16_t* other :
       {u"\"C:\\Apps\\Tool\\uninstall.exe\" /S", u"\"C:\\Apps\\Tool\\uninstall.exe", u"C:\\Apps\\TOOL~1\\uninstall.exe",
        u"C:\\Apps\\Tool\\", u"C:\\Apps\\Tool\\other.exe", u"uninstall.exe", u"", u"\"\"",
        u"C:\\Apps\\Tool\\uninstall.exe\\", u"MsiExec.exe /X{00000000-0000-0000-0000-000000000000}"}) {
    EXPECT_FALSE(namesUninstaller(other, file)) << encodeUtf8(other);
  }

}

// The records a setup writes outside the application folder are links on a desktop and its start
// menu folder; nothing else there is ever removed, whatever an edited log says.
TEST(RemovalRules, RecordPathsLieInTheApplicationFolderOrWhereTheSetupPutsItsLinks) {
  RemovalScope scope;
  scope.appFolder = u"C:\\Apps\\Tool\\";
  const std::u16string desktop = u"C:\\Users\\Ann\\Desktop\\";
  const std::u16string programs = u"C:\\ProgramData\\Start Menu\\Programs\\";
  scope.desktopFolders = {desktop, u"C:\\Users\\Public\\Desktop"};
  scope.programsFolders = {u"C:\\Users\\Ann\\Start Menu\\Programs\\", u"C:\\ProgramData\\Start Menu\\Programs"};
  scope.shellFolders = {programs + u"Autostart\\", programs + u"Admin\\Tools\\"};
  enum Kind { F, D };
  const struct {
    std::u16string path;
    Kind kind;
    bool allowed;
  } rows[] = {
      // inside the application folder: anything, as a plain relative path
      {u"C:\\Apps\\Tool\\a.txt", F, true},
      {u"c:\\apps\\tool\\sub\\deep\\b.txt", F, true},
      {u"C:\\Apps\\Tool\\sub\\", D, true},
      {u"C:\\Apps\\Tool\\sub/deep/c.txt", F, true},
      {u"C:\\Apps\\Tool\\sub.\\a.txt", F, true},
      {u"", F, false},
      {u"C:\\Apps\\Tool\\", D, false},
      {u"C:\\Apps\\Tool", F, false},
      {u"C:\\Apps\\ToolBox\\a.txt", F, false},
      {u"C:\\Apps\\Tool\\..\\Other\\a.txt", F, false},
      {u"C:\\Apps\\Tool\\sub/../../x.txt", F, false},
      {u"C:\\Apps\\Tool\\.. \\x.txt", F, false},
      {u"C:\\Apps\\Tool\\sub\\ \\a.txt", F, false},
      {u"C:\\Apps\\Tool\\sub\\...", F, false},
      {u"C:\\Apps\\Tool\\a.txt:hidden", F, false},
      {u"C:\\Apps\\Tool\\\\a.txt", F, false},
      {u"C:\\Apps\\Tool\\a\".txt", F, false},
      {u"C:\\Apps\\Tool\\*.*", F, false},
      {u"\\\\?\\C:\\Apps\\Tool\\a.txt", F, false},
      {u"C:\\Windows\\System32\\kernel32.dll", F, false},
      // desktops: only links directly on them
      {desktop + u"Tool.lnk", F, true},
      {u"C:\\Users\\Public\\Desktop\\Tool.LNK", F, true},
      {desktop + u"Report.docx", F, false},
      {desktop + u"Sub\\Tool.lnk", F, false},
      {desktop + u"Tool.lnk\\", D, false},
      {desktop + u"Projects\\", D, false},
      {desktop, D, false},
      {desktop + u".\\", D, false},
      {desktop + u". \\", D, false},
      // Programs folders: links directly in them (an empty start menu folder text) or in a group,
      // a group at any depth, but never a shell folder or what lies in it
      {programs + u"Tool.lnk", F, true},
      {programs + u"Tool\\Tool.lnk", F, true},
      {programs + u"Tools\\Tool\\Tool.lnk", F, true},
      {programs + u"Tool\\", D, true},
      {programs + u"Tools\\Tool\\", D, true},
      {u"C:\\Users\\Ann\\Start Menu\\Programs\\Tool\\", D, true},
      {programs + u"Tool\\notes.txt", F, false},
      {programs, D, false},
      {programs + u"Startup\\", D, false},
      {programs + u"startup.\\", D, false},
      {programs + u"Startup\\evil.lnk", F, false},
      {programs + u"Administrative Tools\\", D, false},
      {programs + u"Accessories\\System Tools\\", D, false},
      {programs + u"Windows PowerShell\\Windows PowerShell.lnk", F, false},
      {programs + u"Autostart\\", D, false},  // the system's Startup folder under another name
      {programs + u"Autostart\\x.lnk", F, false},
      {programs + u"Admin\\", D, true},  // only its Tools subfolder is the system's
      {programs + u"Admin\\Tools\\x.lnk", F, false},
      {programs + u"Admin\\Tools\\", D, false},
      {programs + u"Autostart\\Tool\\", D, true},  // a group below it is the setup's own
      {programs + u"Autostart\\Tool\\Tool.lnk", F, true},
      {programs + u"Games\\Tool\\", D, false},
      {programs + u"..\\Startup\\", D, false},
  };
  // A log the digest vouches for may remove groups named like Windows' (the setup made them); the
  // shell folders themselves, by their path, stay refused whatever vouches.
  const std::u16string namedLikeWindows[] = {
      programs + u"Startup\\",   programs + u"startup.\\", programs + u"Startup\\evil.lnk",
      programs + u"Administrative Tools\\", programs + u"Accessories\\System Tools\\",
      programs + u"Windows PowerShell\\Windows PowerShell.lnk", programs + u"Games\\Tool\\"};
  for (LogTrust trust : {LogTrust::ownFolderOnly, LogTrust::entryWithoutDigest, LogTrust::digestMatched}) {
    scope.trust = trust;
    for (const auto& row : rows) {
      const bool vouchedGroup = trust == LogTrust::digestMatched &&
                                std::find(std::begin(namedLikeWindows), std::end(namedLikeWindows), row.path) !=
                                    std::end(namedLikeWindows);
      EXPECT_EQ(placeOfRecordPath(row.path, row.kind == D, scope).allowed, row.allowed || vouchedGroup)
          << encodeUtf8(row.path) << " under trust " << static_cast<int>(trust);
    }
  }
  EXPECT_TRUE(placeOfRecordPath(u"C:\\Apps\\Tool\\a.txt", false, scope).inAppFolder);
  EXPECT_FALSE(placeOfRecordPath(desktop + u"Tool.lnk", false, scope).inAppFolder);
  // The remover reaches an item from its folder one part at a time.
  const RecordPlace deep = placeOfRecordPath(u"c:\\apps\\tool\\sub/deep\\b.txt", false, scope);
  EXPECT_EQ(deep.root, u"C:\\Apps\\Tool\\");
  EXPECT_EQ(deep.parts, (std::vector<std::u16string>{u"sub", u"deep", u"b.txt"}));
  const RecordPlace group = placeOfRecordPath(programs + u"Tools\\Tool\\", true, scope);
  EXPECT_EQ(group.root, programs);
  EXPECT_EQ(group.parts, (std::vector<std::u16string>{u"Tools", u"Tool"}));
}

TEST(RemovalRules, AKeyRecordNamesOnlyTheApplicationsOwnUninstallEntry) {
  const std::u16string base = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  const std::u16string machine = u"HKEY_LOCAL_MACHINE";
  const struct {
    std::u16string rootName, subKey, appName;
    bool removable;
  } rows[] = {
      {machine, base + u"\\Tool", u"Tool", true},
      {machine, base + u"\\Averlune Sample Notes", u"Averlune Sample Notes", true},
      {machine, u"\\" + base + u"\\Tool", u"Tool", true},
      {machine, u"SOFTWARE\\microsoft\\windows\\currentversion\\UNINSTALL\\tool\\", u"Tool", true},
      {machine, base + u"\\Other Product", u"Tool", false},
      {machine, base + u"\\Tool", u"", false},
      {machine, base, u"", false},
      {machine, base + u"\\", u"", false},
      {machine, base + u"\\Tool\\Sub", u"Tool\\Sub", false},
      {machine, base + u"\\Tool\\Sub", u"Tool", false},
      {machine, base + u"X\\Tool", u"Tool", false},
      {machine, u"Software\\Other\\Uninstall\\Tool", u"Tool", false},
      {u"HKLM", base + u"\\Tool", u"Tool", false},
      {u"HKEY_CURRENT_USER", base + u"\\Tool", u"Tool", false},
      {u"hkey_local_machine", base + u"\\Tool", u"Tool", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(isRemovableUninstallKey(row.rootName, row.subKey, row.appName), row.removable)
        << encodeUtf8(row.rootName + u" " + row.subKey + u" / " + row.appName);
  }
}

}  // namespace
}  // namespace averlune
