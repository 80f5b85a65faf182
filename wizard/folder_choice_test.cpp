#include "wizard/folder_choice.h"

#include <gtest/gtest.h>

#include "base/text_decoding.h"

namespace averlune {
namespace {

TEST(FolderChoice, TheApplicationFolderDialogStartsAtProgramFilesWithoutItsClosingBackslash) {
  EXPECT_EQ(browseStartFolder(u"C:\\Program Files (x86)"), u"C:\\Program Files (x86)");
  EXPECT_EQ(browseStartFolder(u"C:\\Program Files\\"), u"C:\\Program Files");
  EXPECT_EQ(browseStartFolder(u"D:\\"), u"D:\\");
  EXPECT_EQ(browseStartFolder(u"D:\\\\"), u"D:\\");
  EXPECT_EQ(browseStartFolder(u""), u"");
  const std::u16string longFolder = u"C:\\" + std::u16string(300, u'a');
  EXPECT_EQ(browseStartFolder(longFolder), longFolder.substr(0, 259));
  // The cut comes first, so a backslash that the cut brings to the end goes too.
  EXPECT_EQ(browseStartFolder(std::u16string(258, u'a') + u"\\b"), std::u16string(258, u'a'));
}

TEST(FolderChoice, APickedFolderGetsItsClosingBackslashAndAVirtualItemCountsAsCancelled) {
  EXPECT_EQ(pickedFolder(u"D:\\Apps"), u"D:\\Apps\\");
  EXPECT_EQ(pickedFolder(u"E:\\"), u"E:\\");
  EXPECT_EQ(pickedFolder(u"\\\\server\\share"), u"\\\\server\\share\\");
  EXPECT_EQ(pickedFolder(u""), u"");

  EXPECT_EQ(pickedStartMenuFolder(u"C:\\Menu\\Programs\\Games", true), u"C:\\Menu\\Programs\\Games\\");
  EXPECT_EQ(pickedStartMenuFolder(u"C:\\Menu\\Programs\\Gone", false), u"C:\\Menu\\Programs\\Gone");
  EXPECT_EQ(pickedStartMenuFolder(u"", true), u"");
}

TEST(FolderChoice, TheApplicationFolderFieldIsThePickThenCompanyThenAppname) {
  EXPECT_EQ(appFolderFromPick(u"D:\\Apps\\", u"", u"Tool"), u"D:\\Apps\\Tool");
  EXPECT_EQ(appFolderFromPick(u"D:\\Apps\\", u"Acme", u"Tool"), u"D:\\Apps\\Acme\\Tool");
  EXPECT_EQ(appFolderFromPick(u"E:\\", u"", u"Tool"), u"E:\\Tool");
  EXPECT_EQ(appFolderFromPick(u"\\\\server\\share\\", u"Acme", u"Tool"), u"\\\\server\\share\\Acme\\Tool");
}

TEST(FolderChoice, TheStartMenuFieldCutsTheBaseByCountThenAddsCompanyAndAppname) {
  const std::u16string base = u"C:\\Menu\\Programs\\";
  EXPECT_EQ(startMenuFolderFromPick(base, base.size(), u"", u"Tool"), u"Tool");
  EXPECT_EQ(startMenuFolderFromPick(base, base.size(), u"Acme", u"Tool"), u"Acme\\Tool");
  EXPECT_EQ(startMenuFolderFromPick(base + u"Games\\", base.size(), u"", u"Tool"), u"Games\\Tool");
  EXPECT_EQ(startMenuFolderFromPick(base + u"Games\\Old\\", base.size(), u"Acme", u"Tool"),
            u"Games\\Old\\Acme\\Tool");
  // By count, not by comparison: another spelling of the same length is cut just the same.
  EXPECT_EQ(startMenuFolderFromPick(u"c:\\MENU\\programs\\Games\\", base.size(), u"", u"Tool"), u"Games\\Tool");
  EXPECT_EQ(startMenuFolderFromPick(u"C:\\Menu\\", base.size(), u"", u"Tool"), u"Tool");
  EXPECT_EQ(startMenuFolderFromPick(u"C:\\Menu\\Programs\\Games\\", 0, u"", u"Tool"),
            u"C:\\Menu\\Programs\\Games\\Tool");
}

// The field as typed is judged as the uninstaller will read the folder from its log; a setup
// without an uninstaller removes nothing, so it may install anywhere.
TEST(FolderChoice, TheFolderPageRefusesWhatTheUninstallerWouldRefuse) {
  int asked = 0;
  const auto folders = [&asked] {
    ++asked;
    return std::vector<ProtectedFolder>{{u"C:\\Windows\\", FolderGuard::inside}, {u"C:\\Users\\", FolderGuard::children}};
  };
  const struct {
    std::u16string field;
    bool refused;
  } rows[] = {
      {u"C:\\Program Files\\Tool", false}, {u"D:\\Apps\\Tool\\", false}, {u"C:\\", true},
      {u"D:", true},                       {u"Tool", true},              {u"C:\\Windows", true},
      {u"C:\\Windows\\Tool", true},        {u"C:\\Users\\Ann", true},    {u"C:\\Users\\Ann\\Tool", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(refusesAppFolderField(row.field, 1, folders, nullptr), row.refused);
    EXPECT_FALSE(refusesAppFolderField(row.field, 0, folders, nullptr));
  }
  EXPECT_EQ(asked, 9);  // only with an uninstaller
}

// Where nobody can choose another folder, the run itself refuses the folder: every silent run, and
// a wizard without the folder page. A wizard with the page leaves it to the page's Next.
TEST(FolderChoice, ARunThatAsksForNoFolderRefusesTheSameFoldersBeforeItStarts) {
  const auto folders = [] { return std::vector<ProtectedFolder>{{u"C:\\Windows\\", FolderGuard::inside}}; };
  const struct {
    std::u16string installDir;
    bool silent;
    std::int32_t changeApplicationFolder;
    std::int32_t uninstaller;
    bool refused;
  } rows[] = {
      {u"C:\\Windows\\Tool\\", true, 1, 1, true},   // /S never shows the page
      {u"C:\\Windows\\Tool\\", true, 0, 1, true},
      {u"C:\\Windows\\Tool\\", false, 0, 1, true},  // the page is switched off
      {u"C:\\Windows\\Tool\\", false, 1, 1, false}, // the page asks
      {u"C:\\Windows\\Tool\\", false, 2, 1, false}, // shown for any value but 0
      {u"C:\\Windows\\Tool\\", true, 0, 0, false},  // nothing will ever be removed from it
      {u"C:\\Apps\\Tool\\", true, 0, 1, false},
      {u"", true, 0, 1, true},                          // a script without InstallDir
      {u"Tool", true, 0, 1, true},                      // still relative
  };
  for (const auto& row : rows) {
    EXPECT_EQ(refusesUnaskedAppFolder(row.installDir, row.silent, row.changeApplicationFolder, row.uninstaller, folders,
                                      nullptr),
              row.refused)
        << encodeUtf8(row.installDir) << " silent " << row.silent << " page "
        << row.changeApplicationFolder;
  }
}

}  // namespace
}  // namespace averlune
