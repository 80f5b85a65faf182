// The configuration readers open their files by wide-character path: a setup started from a
// folder named outside the system's ANSI code page still reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/wide_text_win.h"
#include "config/key_value_file.h"
#include "config/line_list_file.h"

namespace averlune {
namespace {

TEST(ConfigurationFilesOnWindows, OpenPathsOutsideTheAnsiCodePage) {
  wchar_t temp[MAX_PATH + 1] = {};
  ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
  const std::u16string path = fromWide(temp) + u"av-\u00DC\u20AC\u4E2D\U0001D11E.dat";
  HANDLE handle = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  const char bytes[] = "[Setup]\r\nAppname = Demo\r\n";
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(handle, bytes, sizeof bytes - 1, &written, nullptr));
  CloseHandle(handle);

  KeyValueFile keyValues;
  EXPECT_TRUE(open(keyValues, path));
  EXPECT_TRUE(selectGroup(keyValues, u"Setup"));
  EXPECT_EQ(readString(keyValues, u"Appname", u""), u"Demo");

  LineListFile lines;
  EXPECT_TRUE(open(lines, path));
  EXPECT_EQ(readLine(lines), u"[Setup]");

  DeleteFileW(wide(path));
  EXPECT_FALSE(open(keyValues, path));
  EXPECT_FALSE(open(lines, path));
}

}  // namespace
}  // namespace averlune
