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

  // /LANG= names a language as the list does, quoted when it holds a space; a relative /D= is
  // kept as given (the run makes it full against the folder it was started from).
  s = parseSetupSwitches(u"setup.exe /LANG=Deutsch /S /D=Tools\\Notes");
  EXPECT_TRUE(s.silent);
  EXPECT_EQ(s.language, u"Deutsch");
  EXPECT_EQ(s.appFolder, u"Tools\\Notes");
  s = parseSetupSwitches(u"setup.exe /lang=\"Portugu\u00EAs do Brasil\" \"/LOG=a b.txt\"");
  EXPECT_EQ(s.language, u"Portugu\u00EAs do Brasil");
  EXPECT_EQ(s.logFile, u"a b.txt");
  s = parseSetupSwitches(u"setup.exe \"/LANG=Fran\u00E7ais\"");
  EXPECT_EQ(s.language, u"Fran\u00E7ais");

  // /D= is the last switch: what follows it is part of the folder, even a word like /S.
  s = parseSetupSwitches(u"setup.exe /D=D:\\Apps /S");
  EXPECT_FALSE(s.silent);
  EXPECT_EQ(s.appFolder, u"D:\\Apps /S");

  // Nothing, other words, near misses and a quoted program name with no closing quote change
  // nothing: the setup runs as it always did.
  for (const char16_t* line : {u"setup.exe", u"\"setup.exe\"", u"", u"setup.exe /Silent /SD /Sx S -S /DIR=x /LOGFILE /LANGUAGE",
                               u"\"C:\\setup.exe /S /D=C:\\x"}) {
    s = parseSetupSwitches(line);
    EXPECT_FALSE(s.silent);
    EXPECT_FALSE(s.showHelp);
    EXPECT_EQ(s.appFolder, u"");
    EXPECT_EQ(s.logFile, u"");
    EXPECT_EQ(s.language, u"");
  }
  // /? lists the switches of both programs and the exit codes.
  const std::u16string help = kSetupSwitchesHelp;
  for (const char16_t* word : {u"/S", u"/D=", u"/LOG=", u"/LANG=", u"/?", u"Uninstaller:", u"3010", u"1602", u"1603",
                               u"1618"}) {
    EXPECT_NE(help.find(word), std::u16string::npos);
  }
}

}  // namespace
}  // namespace averlune
