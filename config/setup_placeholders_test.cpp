#include "config/setup_placeholders.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

std::u16string fixedFolder(int csidl) {
  return csidl == csidl::programs ? u"C:\\Users\\Ann\\Start Menu\\Programs" : u"C:\\Folder";
}
std::u16string fixedEnvironment(const std::u16string& name) {
  return name == u"ProgramFiles" ? u"C:\\Program Files" : u"";
}
std::u16string fixedSystemFolder() { return u"C:\\Windows\\system32"; }

SystemLookup fixedSystem() {
  SystemLookup system;
  system.environmentVariable = fixedEnvironment;
  system.specialFolder = fixedFolder;
  system.systemFolder = fixedSystemFolder;
  return system;
}

AuthorVariable variable(std::u16string token, std::u16string value) {
  AuthorVariable v;
  v.token = std::move(token);
  v.value = std::move(value);
  return v;
}

TEST(ExpandDefaultFolders, ExpandsBothFoldersWithoutAnApplicationFolder) {
  SetupOptions options;
  options.Appname = u"Notes";
  options.InstallDir = u"<programfiles>\\<appname>\\<installpath>";
  options.ShortcutFolder = u"<AppName>\\";
  expandDefaultFolders(options, {}, fixedSystem());
  EXPECT_EQ(options.InstallDir, u"C:\\Program Files\\Notes\\");
  EXPECT_EQ(options.ShortcutFolder, u"Notes\\");
}

TEST(ExpandDefaultFolders, ASecondPassReplacesTokensBroughtInByLaterVariables) {
  // <a> comes first in the list, so the pass inside the expansion has already gone past it when
  // <b>'s value brings it in; only the extra pass replaces it.
  SetupOptions options;
  options.InstallDir = u"C:\\<b>\\";
  const std::vector<AuthorVariable> variables = {variable(u"<a>", u"Alpha"), variable(u"<b>", u"x<a>")};
  expandDefaultFolders(options, variables, fixedSystem());
  EXPECT_EQ(options.InstallDir, u"C:\\xAlpha\\");
}

}  // namespace
}  // namespace averlune
