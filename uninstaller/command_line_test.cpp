#include "uninstaller/command_line.h"

#include <gtest/gtest.h>

#include "base/text_decoding.h"

namespace averlune {
namespace {

TEST(CommandLine, OnlyASlashSAloneAsksForSilentRemoval) {
  const struct {
    std::u16string commandLine;
    bool silent;
  } rows[] = {
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\" /S", true},
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\"  /s  ", true},
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\"\t/S", true},
      {u"C:\\Tool\\uninstall.exe /S", true},
      {u"uninstall.exe /S", true},
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\"", false},
      {u"\"C:\\Program Files\\Tool\\uninstall.exe\" ", false},
      {u"C:\\Tool\\uninstall.exe", false},
      {u"\"C:\\Tool /S\\uninstall.exe\"", false},  // in the program's name, not after it
      {u"\"C:\\Tool\\uninstall.exe\" /S /X", false},
      {u"\"C:\\Tool\\uninstall.exe\" /Silent", false},
      {u"\"C:\\Tool\\uninstall.exe\" -S", false},
      {u"\"C:\\Tool\\uninstall.exe\" S", false},
      {u"", false},
  };
  for (const auto& row : rows) EXPECT_EQ(isSilentRequest(row.commandLine), row.silent) << encodeUtf8(row.commandLine);
}

}  // namespace
}  // namespace averlune
