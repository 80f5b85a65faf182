#include <windows.h>

#include <gtest/gtest.h>

#include "config/key_value_file.h"
#include "config/line_list_file.h"
#include "config/special_folder.h"
#include "config/system_lookup_win.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

TEST(WindowsSystemLookup, GivesSpecialFoldersAsTheSystemDoes) {
  const SystemLookup system = windowsSystemLookup();
  for (int csidl : {0x00, 0x02, 0x17, 0x19}) {
    const std::u16string folder = system.specialFolder(csidl);
    ASSERT_FALSE(folder.empty()) << csidl;
    EXPECT_NE(folder.back(), u'\\') << csidl;
    EXPECT_EQ(specialFolder(system, csidl, true), folder + u"\\") << csidl;
    EXPECT_NE(GetFileAttributesW(wide(folder)), INVALID_FILE_ATTRIBUTES) << csidl;
  }
  EXPECT_EQ(system.specialFolder(0x7FFF), u"");  // no such folder
  EXPECT_EQ(specialFolder(system, 0x7FFF, true), u"");
}

TEST(WindowsSystemLookup, ReadsTheProcessEnvironment) {
  const SystemLookup system = windowsSystemLookup();
  const std::u16string name = u"AV_LOOKUP_TEST";
  ASSERT_TRUE(SetEnvironmentVariableW(wide(name), nullptr) || GetLastError() == ERROR_ENVVAR_NOT_FOUND);
  EXPECT_EQ(system.environmentVariable(name), u"");

  // Longer than any fixed path buffer, with characters outside ASCII.
  const std::u16string value = std::u16string(600, u'x') + u"\u00E9\U0001F600";
  ASSERT_TRUE(SetEnvironmentVariableW(wide(name), wide(value)));
  EXPECT_EQ(system.environmentVariable(name), value);
  EXPECT_EQ(system.environmentVariable(u"av_lookup_test"), value);  // names ignore case on Windows
  SetEnvironmentVariableW(wide(name), nullptr);
}

TEST(WindowsSystemLookup, GivesTheSystemFolder) {
  const std::u16string folder = windowsSystemLookup().systemFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), u'\\');
  EXPECT_NE(GetFileAttributesW(wide(folder + u"\\kernel32.dll")), INVALID_FILE_ATTRIBUTES);
}

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
