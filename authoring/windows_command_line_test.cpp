// How an argument list becomes one Windows command line. Each row's text, split again by the
// C runtime's rules, gives back the arguments: the signing tool must see the paths it was given.
#include "authoring/windows_command_line.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(WindowsCommandLine, QuotesExactlyWhatTheRuntimeWouldSplitOrChange) {
  const struct {
    std::vector<std::string> arguments;
    std::string line;
  } rows[] = {
      {{"sign", "-in", "C:\\Setup.exe"}, R"(sign -in C:\Setup.exe)"},
      {{"C:\\Program Files\\x.exe"}, R"("C:\Program Files\x.exe")"},
      {{""}, R"("")"},
      {{"a\tb"}, "\"a\tb\""},
      {{"say \"hi\""}, R"("say \"hi\"")"},
      // Backslashes before a quote are doubled, elsewhere left alone.
      {{"C:\\My Folder\\"}, R"("C:\My Folder\\")"},
      {{"x\\\"y"}, R"("x\\\"y")"},
      {{"a\\\\b c"}, R"("a\\b c")"},
      {{"D:\\Café\\Notes Setup.exe", "-out"}, "\"D:\\Café\\Notes Setup.exe\" -out"},
  };
  for (const auto& row : rows) EXPECT_EQ(windowsCommandLine(row.arguments), row.line) << row.line;
}

}  // namespace
}  // namespace averlune
