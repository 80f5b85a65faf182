#include <windows.h>

#include <gtest/gtest.h>

#include "base/special_folder.h"
#include "base/system_lookup_win.h"
#include "base/wide_text_win.h"

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

}  // namespace
}  // namespace averlune
