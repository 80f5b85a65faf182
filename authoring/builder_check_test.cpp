// averlune-build's check from the command line: what it prints, its exit codes, and that a build
// stops before writing anything when the check finds errors.
#include <gtest/gtest.h>

#include "authoring/authoring_test_support.h"

namespace averlune {
namespace {

using namespace averlune::testing;

#ifdef AVERLUNE_BUILDER
const std::string kBuilder = quoted(AVERLUNE_BUILDER);

TEST(BuilderCheck, PrintsProblemsByFileAndLineExitsByTheWorstAndBuildsNothingOnErrors) {
  TempFolder temp;
  const fs::path config = temp.path / "config";
  const fs::path app = temp.path / "app";
  writeFile(config / "SC.dat", "[Setup]\r\nLanguages = 1\r\nAppnme = Demo\r\n");
  writeFile(config / "OS.dat", "Windows 7 = 1\r\n");
  writeFile(app / "Readme.txt", "x");
  const std::string folders = quoted(config) + " " + quoted(app);

  ToolRun run = runTool(kBuilder + " --check " + folders, temp.path);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.output.find(config.string() + "/SC.dat:2: error: there is no Default.avl"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find(config.string() + "/SC.dat:3: warning: unknown key Appnme"), std::string::npos);

  // The same folders built: the check's lines, then no setup; an earlier output stays as it was.
  const fs::path output = temp.path / "Setup.exe";
  writeFile(temp.path / "AverluneSetup.exe", bareProgram());
  writeFile(output, "earlier");
  const std::string build = kBuilder + " --setup " + quoted(temp.path / "AverluneSetup.exe") + " --config " +
                            quoted(config) + " --app " + quoted(app) + " --output " + quoted(output);
  run = runTool(build, temp.path);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("SC.dat:2: error:"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("no setup written"), std::string::npos);
  const auto kept = readFile(output);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier");

  // Warnings alone: a clean exit, a setup, unless --strict.
  writeFile(config / "Default.avl", "[Main]\r\nTitle = Demo\r\n");
  run = runTool(kBuilder + " --check " + folders, temp.path);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("warning: no group [Gadgets]"), std::string::npos);
  EXPECT_EQ(run.output.find("error:"), std::string::npos);
  EXPECT_EQ(runTool(kBuilder + " --check " + folders + " --strict", temp.path).exitCode, 1);
  EXPECT_EQ(runTool(build + " --strict", temp.path).exitCode, 1);
  EXPECT_EQ(readFile(output).size(), 7u);
  run = runTool(build, temp.path);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_GT(readFile(output).size(), bareProgram().size());

  // Only the configuration folder: its own checks, none of the application folder's.
  writeFile(config / "Startmenu.dat", "<installpath>\\Missing.exe\r\nDemo\r\n\r\n");
  run = runTool(kBuilder + " --check " + quoted(config), temp.path);
  EXPECT_EQ(run.output.find("Startmenu.dat"), std::string::npos) << run.output;
  EXPECT_EQ(runTool(kBuilder + " --check", temp.path).exitCode, 2);
  EXPECT_EQ(runTool(kBuilder + " --check " + folders + " --output x", temp.path).exitCode, 2);
}
#endif

}  // namespace
}  // namespace averlune
