// Starting a program of the build machine as the Windows builder starts its signing tool: found on
// PATH by its name, its exit code returned, its output kept in a log named outside ASCII.
#include "authoring/tool_process.h"

#include <gtest/gtest.h>

#include "authoring/authoring_test_support.h"

namespace averlune {
namespace {

using namespace averlune::testing;

TEST(ToolProcess, FindsRunsAndLogsAProgramAndSaysWhenItCannotStartOne) {
  const fs::path cmd = findProgramOnPath("cmd");
  ASSERT_FALSE(cmd.empty());
  EXPECT_EQ(cmd.filename(), fs::path(L"cmd.exe"));
  EXPECT_TRUE(findProgramOnPath("averlune-no-such-program").empty());

  TempFolder temp;
  const fs::path log = temp.path / L"Signing log \u00e9\u2615.txt";
  EXPECT_EQ(runProgram(cmd, {"/c", "exit", "7"}, log), 7);
  EXPECT_EQ(runProgram(cmd, {"/c", "echo", "written"}, log), 0);
  const auto said = readFile(log);
  EXPECT_EQ(std::string(said.begin(), said.end()), "written\r\n");
  EXPECT_EQ(runProgram(temp.path / "missing.exe", {}, log), std::nullopt);
}

}  // namespace
}  // namespace averlune
