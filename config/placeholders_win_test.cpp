#include "config/placeholders.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/registry_win.h"
#include "base/system_lookup_win.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

bool isFolder(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string environment(const wchar_t* name) {
  wchar_t value[32768];
  DWORD length = GetEnvironmentVariableW(name, value, 32768);
  return length > 0 && length < 32768 ? fromWide(value, length) : std::u16string();
}

// The paths are passed on exactly as the system gives them: Wine, for one, ends the documents
// folder in "\" when it links to the user's home, and the expander keeps that.
TEST(PlaceholdersOnWindows, FolderTokensGiveExistingFolders) {
  const SystemLookup system = windowsSystemLookup();
  const char16_t* tokens[] = {u"<system>",   u"<windows>",     u"<temp>",          u"<programfiles>",
                              u"<startup>",  u"<startuppublic>", u"<documents>",   u"<documentspublic>",
                              u"<startmenuprograms>", u"<startmenuprogramspublic>", u"<font>", u"<desktop>",
                              u"<desktoppublic>", u"<appdata>", u"<appdatapublic>"};
  for (const char16_t* token : tokens) {
    std::u16string folder = expandPlaceholders(token, u"", PlaceholderScriptValues{}, {}, system);
    std::string name(token, token + std::char_traits<char16_t>::length(token));
    EXPECT_FALSE(folder.empty()) << name;
    EXPECT_NE(folder, std::u16string(token)) << name;
    EXPECT_TRUE(isFolder(folder)) << name;
  }
}

TEST(PlaceholdersOnWindows, EnvironmentIsReadAtEveryExpansion) {
  const SystemLookup system = windowsSystemLookup();
  PlaceholderScriptValues script;
  script.appName = u"Tool";
  EXPECT_EQ(expandPlaceholders(u"<programfiles>\\<appname>\\", u"", script, {}, system),
            environment(L"ProgramFiles") + u"\\Tool\\");
  ASSERT_TRUE(SetEnvironmentVariableW(L"AV_LANGUAGE", L"Deutsch"));
  EXPECT_EQ(expandPlaceholders(u"<Language>", u"", script, {}, system), u"Deutsch");
  ASSERT_TRUE(SetEnvironmentVariableW(L"AV_LANGUAGE", nullptr));
  EXPECT_EQ(expandPlaceholders(u"<Language>", u"", script, {}, system), u"");
}

// Author variables read through the real registry library: values of several types, an empty
// value, and a missing one that falls back to its default.
TEST(PlaceholdersOnWindows, VariablesTakeRegistryTextForms) {
  const std::u16string key = u"Software\\AverluneTest-" + fromWide(std::to_wstring(GetCurrentProcessId()).c_str()) + u"-vars";
  ASSERT_TRUE(createKey(RegistryRoot::currentUser, key));
  ASSERT_TRUE(writeDwordValue(RegistryRoot::currentUser, key, u"dw", 0xFFFFFFFFu));
  ASSERT_TRUE(writeBinaryValue(RegistryRoot::currentUser, key, u"bin", u"01 AB"));
  ASSERT_TRUE(writeStringValue(RegistryRoot::currentUser, key, u"empty", u""));

  std::string utf8Key(key.begin(), key.end());
  std::string bytes;
  for (const char* name : {"dw", "bin", "empty", "missing"}) {
    bytes += std::string("<") + name + ">\r\nHKEY_CURRENT_USER\r\n" + utf8Key + "\r\n" + name + "\r\ndefault\r\n";
  }
  LineListFile file;
  openBytes(file, bytes);
  std::vector<AuthorVariable> variables = readVariables(file, windowsSystemLookup());
  RegDeleteTreeW(HKEY_CURRENT_USER, wide(key));

  ASSERT_EQ(variables.size(), 4u);
  EXPECT_EQ(variables[0].value, u"-1");
  EXPECT_EQ(variables[1].value, u"01 AB ");
  EXPECT_EQ(variables[2].value, u"");
  EXPECT_EQ(variables[3].value, u"default");
}

}  // namespace
}  // namespace averlune
