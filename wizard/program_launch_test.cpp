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

void expectStart(const ProgramLaunch& launch, const std::u16string& file, const std::u16string& folder) {
  EXPECT_EQ(launch.start.kind, DesktopStartKind::program);
  EXPECT_EQ(launch.start.file, file);
  EXPECT_EQ(launch.start.folder, folder);
}

TEST(ProgramLaunch, ProgramRunIsExpandedWithTheApplicationFolderAsInstallationPath) {
  SetupOptions options;
  options.Appname = u"Tool";
  options.ProgramRun = u"<installpath>\\tool.exe";
  expectStart(programLaunchOf(options, {}, u"C:\\Apps\\Tool\\", fixedSystem()), u"C:\\Apps\\Tool\\tool.exe",
              u"C:\\Apps\\Tool\\");

  // Every placeholder of the expander works here, author variables included.
  options.ProgramRun = u"<programfiles>\\<appname>\\<docs>\\readme.txt";
  AuthorVariable docs;
  docs.token = u"<docs>";
  docs.value = u"Help";
  expectStart(programLaunchOf(options, {docs}, u"D:\\Elsewhere\\", fixedSystem()),
              u"C:\\Program Files\\Tool\\Help\\readme.txt", u"C:\\Program Files\\Tool\\Help\\");

  // The sample's "<installpath>\" names the application folder itself: no process can start from
  // it, so the shell is handed the folder and opens it.
  options.ProgramRun = u"<installpath>\\";
  expectStart(programLaunchOf(options, {}, u"C:\\Apps\\Tool\\", fixedSystem()), u"C:\\Apps\\Tool\\",
              u"C:\\Apps\\Tool\\");
}

TEST(ProgramLaunch, WhatIsNoFullPathStartsNothingAndTheLogSaysWhy) {
  SetupOptions options;
  options.ProgramRun = u"<temp>\\tool.exe";  // a system without the variable
  ProgramLaunch launch = programLaunchOf(options, {}, u"C:\\Apps\\Tool\\", fixedSystem());
  expectStart(launch, u"", u"");
  EXPECT_EQ(programLaunchLogLine(launch, DesktopStartWay::none),
            u"finish: ProgramRun is no full path, not started: \\tool.exe");

  options.ProgramRun = u"tool.exe";
  launch = programLaunchOf(options, {}, u"C:\\Apps\\Tool\\", fixedSystem());
  expectStart(launch, u"", u"");
  EXPECT_EQ(programLaunchLogLine(launch, DesktopStartWay::none), u"finish: ProgramRun is no full path, not started: tool.exe");

  options.ProgramRun = u"\"<installpath>\\tool.exe\" /first";
  launch = programLaunchOf(options, {}, u"C:\\Apps\\Tool\\", fixedSystem());
  EXPECT_EQ(launch.start.arguments, u"/first");
  EXPECT_EQ(programLaunchLogLine(launch, DesktopStartWay::desktopShell),
            u"finish: started through the desktop's shell, as its user: C:\\Apps\\Tool\\tool.exe /first");
}

}  // namespace
}  // namespace averlune
