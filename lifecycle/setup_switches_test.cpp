#include "lifecycle/setup_switches.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(SetupSwitches, ReadAsDeploymentToolsWriteThem) {
  // Program names quoted or not; /D takes the rest, spaces included; /LOG may be quoted.
  SetupSwitches s = parseSetupSwitches(u"\"C:\\My Setups\\setup.exe\" /s /LOG=\"C:\\logs\\a b.txt\" /D=C:\\Program Files\\Tool  ");
  EXPECT_TRUE(s.silent);
  EXPECT_FALSE(s.showHelp);
  EXPECT_EQ(s.logFile, u"C:\\logs\\a b.txt");
  EXPECT_EQ(s.appFolder, u"C:\\Program Files\\Tool");

  s = parseSetupSwitches(u"setup.exe /log=C:\\setup.log /?");
  EXPECT_FALSE(s.silent);
  EXPECT_TRUE(s.showHelp);
  EXPECT_EQ(s.logFile, u"C:\\setup.log");
  EXPECT_EQ(s.appFolder, u"");

  // Switches quoted whole, as programs that quote every argument with a space pass them.
  s = parseSetupSwitches(u"setup.exe \"/D=C:\\Silent Place\\Notes\" /S \"/LOG=C:\\a log.txt\"");
  EXPECT_TRUE(s.silent);
  EXPECT_EQ(s.appFolder, u"C:\\Silent Place\\Notes");
  EXPECT_EQ(s.logFile, u"C:\\a log.txt");

  // /D= is the last switch: what follows it is part of the folder, even a word like /S.
  s = parseSetupSwitches(u"setup.exe /D=D:\\Apps /S");
  EXPECT_FALSE(s.silent);
  EXPECT_EQ(s.appFolder, u"D:\\Apps /S");

  // Nothing, other words, near misses and a quoted program name with no closing quote change
  // nothing: the setup runs as it always did.
  for (const char16_t* line : {u"setup.exe", u"\"setup.exe\"", u"", u"setup.exe /Silent /SD /Sx S -S /DIR=x /LOGFILE",
                               u"\"C:\\setup.exe /S /D=C:\\x"}) {
    s = parseSetupSwitches(line);
    EXPECT_FALSE(s.silent);
    EXPECT_FALSE(s.showHelp);
    EXPECT_EQ(s.appFolder, u"");
    EXPECT_EQ(s.logFile, u"");
  }
}

}  // namespace
}  // namespace averlune
