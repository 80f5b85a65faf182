#include "uninstaller/self_delete_batch.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

// An OEM code page that holds ISO-8859-1's characters, so "ü" can be written and CJK cannot.
std::optional<std::string> latin1(const std::u16string& text) {
  std::string bytes;
  for (char16_t c : text) {
    if (c > 0xFF) return std::nullopt;
    bytes += static_cast<char>(c);
  }
  return bytes;
}

const std::u16string kPing = u"C:\\Windows\\system32\\PING.EXE";

std::string loopAround(const std::string& program, const std::string& folderLine, const std::string& batch,
                       const std::string& ping = "C:\\Windows\\system32\\PING.EXE") {
  return "@echo off\r\n"
         "setlocal DisableDelayedExpansion\r\n"
         "cd \\\r\n"
         "set /a tries=0\r\n"
         ":DeleteFile\r\n"
         "del \"" + program + "\"\r\n"
         "if not exist \"" + program + "\" goto DeleteFolder\r\n"
         "set /a tries+=1\r\n"
         "if %tries% geq 60 goto DeleteFolder\r\n"
         "\"" + ping + "\" -n 2 127.0.0.1 >nul\r\n"
         "goto DeleteFile\r\n"
         ":DeleteFolder\r\n" +
         folderLine + "del \"" + batch + "\" & exit\r\n";
}

TEST(SelfDeleteBatch, PathsTheOemCodePageHoldsAreWrittenWithTheirPercentSignsDoubled) {
  const SelfDeleteBatch batch = selfDeleteBatch(u"C:\\Apps\\T\u00fcl 100%\\uninstall.exe", u"C:\\Apps\\T\u00fcl 100%\\",
                                                u"C:\\Temp\\{0A}.bat", kPing, latin1);
  EXPECT_TRUE(batch.environment.empty());
  EXPECT_EQ(batch.bytes, loopAround("C:\\Apps\\T\xFCl 100%%\\uninstall.exe", "rd \"C:\\Apps\\T\xFCl 100%%\\\"\r\n",
                                    "C:\\Temp\\{0A}.bat"));

  // No application folder: nothing to remove after the program.
  EXPECT_EQ(selfDeleteBatch(u"C:\\A\\u.exe", u"", u"C:\\T\\b.bat", kPing, latin1).bytes,
            loopAround("C:\\A\\u.exe", "", "C:\\T\\b.bat"));
}

TEST(SelfDeleteBatch, PathsOutsideTheOemCodePageGoThroughTheEnvironment) {
  const std::u16string folder = u"C:\\\u4e2d\u6587 %PATH%\\";
  const SelfDeleteBatch batch = selfDeleteBatch(folder + u"uninstall.exe", folder, u"C:\\Temp\\{0A}.bat", kPing, latin1);
  EXPECT_EQ(batch.bytes, loopAround("%AV_UNINSTALL_PROGRAM%", "rd \"%AV_UNINSTALL_FOLDER%\"\r\n", "%AV_UNINSTALL_BATCH%",
                                    "%AV_UNINSTALL_PING%"));
  using Variables = std::vector<std::pair<std::u16string, std::u16string>>;
  EXPECT_EQ(batch.environment, (Variables{{u"AV_UNINSTALL_PROGRAM", folder + u"uninstall.exe"},
                                          {u"AV_UNINSTALL_FOLDER", folder},
                                          {u"AV_UNINSTALL_BATCH", u"C:\\Temp\\{0A}.bat"},
                                          {u"AV_UNINSTALL_PING", kPing}}));
}

TEST(SelfDeleteBatch, APathThatCannotStandInQuotesIsNeverWritten) {
  // An edited log could try to close the quotes and add a command of its own.
  const SelfDeleteBatch batch = selfDeleteBatch(u"C:\\A\\u.exe", u"C:\\A\" & calc & \"\\", u"C:\\T\\b.bat", kPing, latin1);
  EXPECT_EQ(batch.bytes, loopAround("C:\\A\\u.exe", "", "C:\\T\\b.bat"));
  EXPECT_EQ(selfDeleteBatch(u"C:\\A\\u.exe", u"C:\\A\\\r\ncalc\\", u"C:\\T\\b.bat", kPing, latin1).bytes,
            loopAround("C:\\A\\u.exe", "", "C:\\T\\b.bat"));
  EXPECT_TRUE(selfDeleteBatch(u"C:\\A\"\\u.exe", u"C:\\A\\", u"C:\\T\\b.bat", kPing, latin1).bytes.empty());
  EXPECT_TRUE(selfDeleteBatch(u"", u"C:\\A\\", u"C:\\T\\b.bat", kPing, latin1).bytes.empty());
  EXPECT_TRUE(selfDeleteBatch(u"C:\\A\\u.exe", u"C:\\A\\", u"", kPing, latin1).bytes.empty());
  EXPECT_TRUE(selfDeleteBatch(u"C:\\A\\u.exe", u"C:\\A\\", u"C:\\T\\b.bat", u"", latin1).bytes.empty());
}

}  // namespace
}  // namespace averlune
