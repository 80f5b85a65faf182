#include "uninstaller/command_line.h"

#include <gtest/gtest.h>

#include "base/text_decoding.h"

namespace averlune {
namespace {

// Deployment tools add their own words; /S counts wherever it stands, and /LOG= takes a quoted or
// plain name. Words inside the program's quoted name are the name's.
TEST(CommandLine, SlashSAmongOtherWordsAndALogAsTheSetupReadsIt) {
  const struct {
    std::u16string commandLine;
    bool silent;
    std::u16string logFile;
  } rows[] = {
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\" /S", true, u""},
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\"  /s  ", true, u""},
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\"\t/S", true, u""},
      {u"C:\\Tool\\uninstall.exe /S", true, u""},
      {u"\"C:\\Tool\\uninstall.exe\" /S /X", true, u""},
      {u"\"C:\\Tool\\uninstall.exe\" /norestart /S", true, u""},
      {u"\"C:\\Tool\\uninstall.exe\" /S /LOG=C:\\u.log", true, u"C:\\u.log"},
      {u"\"C:\\Tool\\uninstall.exe\" /log=\"C:\\my logs\\u.log\" /s", true, u"C:\\my logs\\u.log"},
      {u"\"C:\\Tool\\uninstall.exe\" \"/LOG=C:\\my logs\\u.log\" \"/S\"", true, u"C:\\my logs\\u.log"},
      {u"\"C:\\Tool\\uninstall.exe\" /LOG=u.log", false, u"u.log"},  // a log of the interactive run
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\"", false, u""},
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\" ", false, u""},
      {u"C:\\Tool\\uninstall.exe", false, u""},
      {u"\"C:\\Tool /S\\uninstall.exe\"", false, u""},  // in the program's name, not after it
      {u"\"C:\\Tool\\uninstall.exe /S", false, u""},    // a name without its closing quote swallows all
      {u"\"C:\\Tool\\uninstall.exe\" /Silent -S S /SD /LOGFILE=x", false, u""},
      {u"", false, u""},
  };
  for (const auto& row : rows) {
    const UninstallSwitches switches = parseUninstallSwitches(row.commandLine);
    EXPECT_EQ(switches.silent, row.silent) << encodeUtf8(row.commandLine);
    EXPECT_EQ(switches.logFile, row.logFile) << encodeUtf8(row.commandLine);
  }
}

}  // namespace
}  // namespace averlune
