#include "wizard/program_launch.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

std::u16string fixedEnvironment(const std::u16string& name) {
  return name == u"ProgramFiles" ? u"C:\\Program Files" : u"";
}

SystemLookup fixedSystem() {
  SystemLookup system;
  system.environmentVariable = fixedEnvironment;
  return system;
}

void expectLaunch(const ProgramLaunch& launch, const std::u16string& program, const std::u16string& commandLine,
                  const std::u16string& workingFolder) {
  EXPECT_EQ(launch.program, program);
  EXPECT_EQ(launch.commandLine, commandLine);
  EXPECT_EQ(launch.workingFolder, workingFolder);
}

TEST(ProgramLaunch, ProgramRunIsExpandedWithTheApplicationFolderAsInstallationPath) {
  SetupOptions options;
  options.Appname = u"Tool";
  options.ProgramRun = u"<installpath>\\tool.exe";
  expectLaunch(programLaunchOf(options, {}, u"C:\\Apps\\Tool\\", fixedSystem()), u"C:\\Apps\\Tool\\tool.exe",
               u"\"C:\\Apps\\Tool\\tool.exe\"", u"C:\\Apps\\Tool\\");

  // Every placeholder of the expander works here, author variables included.
  options.ProgramRun = u"<programfiles>\\<appname>\\<docs>\\readme.txt";
  AuthorVariable docs;
  docs.token = u"<docs>";
  docs.value = u"Help";
  expectLaunch(programLaunchOf(options, {docs}, u"D:\\Elsewhere\\", fixedSystem()),
               u"C:\\Program Files\\Tool\\Help\\readme.txt", u"\"C:\\Program Files\\Tool\\Help\\readme.txt\"",
               u"C:\\Program Files\\Tool\\Help\\");

  // The sample's "<installpath>\" names the application folder itself: no process can start from
  // it, so the shell is handed the folder and opens it.
  options.ProgramRun = u"<installpath>\\";
  expectLaunch(programLaunchOf(options, {}, u"C:\\Apps\\Tool\\", fixedSystem()), u"C:\\Apps\\Tool\\",
               u"\"C:\\Apps\\Tool\\\"", u"C:\\Apps\\Tool\\");
}

TEST(ProgramLaunch, QuotedPathsFolderlessPathsAndNothingToStart) {
  // The author's quotes and arguments stay on the command line; the folder comes from inside.
  expectLaunch(programLaunchFor(u"\"C:\\Apps\\tool.exe\" /first C:\\x\\y"), u"C:\\Apps\\tool.exe",
               u"\"C:\\Apps\\tool.exe\" /first C:\\x\\y", u"C:\\Apps\\");
  expectLaunch(programLaunchFor(u"\"C:\\Apps\\tool.exe"), u"C:\\Apps\\tool.exe", u"\"C:\\Apps\\tool.exe",
               u"C:\\Apps\\");
  expectLaunch(programLaunchFor(u"tool.exe"), u"tool.exe", u"\"tool.exe\"", u"");
  // An empty ProgramRun, or empty quotes, starts nothing (and so opens no folder in the shell).
  expectLaunch(programLaunchFor(u""), u"", u"", u"");
  expectLaunch(programLaunchFor(u"\"\" /x"), u"", u"", u"");
}

}  // namespace
}  // namespace averlune
