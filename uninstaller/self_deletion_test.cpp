#include "uninstaller/self_deletion.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(SelfDeleteBatch, TheLeftoversGoToTheSystemsTemporaryFolderOnItsDriveElseToTheDrivesRoot) {
  const std::u16string temp = u"C:\\Windows\\Temp\\";
  const struct {
    std::u16string appFolder, windowsTemp, parent;
  } rows[] = {
      {u"C:\\Program Files\\Tool\\", temp, temp},
      {u"c:\\Tools\\Tool\\", temp, temp},  // the drive letter in either case
      {u"C:\\Tool\\", u"C:\\WINNT\\Temp", u"C:\\WINNT\\Temp\\"},
      {u"D:\\Apps\\Tool\\", temp, u"D:\\"},
      {u"d:\\Apps\\Tool\\", u"", u"d:\\"},  // no system folder known: the root
      {u"\\\\server\\share\\Tool\\", temp, u""},  // a share: no volume to move within
      {u"\\\\?\\C:\\Tool\\", temp, u""},
      {u"Tool\\", temp, u""},
      {u"C:Tool\\", temp, u""},
      {u"1:\\Tool\\", temp, u""},
      {u"", temp, u""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(leftoverFolderParent(row.appFolder, row.windowsTemp), row.parent)
        << std::string(row.appFolder.begin(), row.appFolder.end());
  }
}

TEST(SelfDeleteBatch, TheCommandNamesOnlyTheLeftoverAndTheSystemsProgramsAndRefusesWhatAQuoteCannotHold) {
  const std::u16string cmd = u"C:\\Windows\\system32\\cmd.exe";
  const std::u16string ping = u"C:\\Windows\\system32\\PING.EXE";
  const std::u16string leftover = u"C:\\Windows\\Temp\\{0A1B}\\uninstall.exe";
  const std::u16string file = u"\"C:\\Windows\\Temp\\{0A1B}\\uninstall.exe\"";
  EXPECT_EQ(selfDeleteCommand(cmd, leftover, ping),
            u"\"C:\\Windows\\system32\\cmd.exe\" /D /E:ON /V:OFF /S /C \"for /L %i in (1,1,60) do (del " + file +
                u" 2>nul & if exist " + file +
                u" \"C:\\Windows\\system32\\PING.EXE\" -n 2 127.0.0.1 >nul)\"");
  // Spaces, brackets and "&" are safe between quotes.
  EXPECT_NE(selfDeleteCommand(cmd, u"D:\\{0A1B} (x) & y\\uninstall.exe", ping), u"");

  const std::u16string refused[] = {u"", u"C:\\100%\\u.exe", u"C:\\A\" & calc & \"\\u.exe", u"C:\\A\r\ncalc\\u.exe",
                                    u"C:\\A\tB\\u.exe"};
  for (const std::u16string& path : refused) {
    EXPECT_EQ(selfDeleteCommand(cmd, path, ping), u"") << std::string(path.begin(), path.end());
    EXPECT_EQ(selfDeleteCommand(path, leftover, ping), u"");
    EXPECT_EQ(selfDeleteCommand(cmd, leftover, path), u"");
  }
}

}  // namespace
}  // namespace averlune
