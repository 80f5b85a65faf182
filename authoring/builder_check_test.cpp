// averlune-build from the command line: what the check prints, its exit codes, that a build stops
// before writing anything when the check finds errors, and that a new setup's folder builds as it
// stands.
#include <gtest/gtest.h>

#include "authoring/authoring_test_support.h"
#include "authoring/build_progress.h"
#include "config/key_value_file.h"
#include "config/setup_script.h"

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

TEST(BuilderCommandLine, ANewFolderChecksCleanAndBuildsAndHelpNamesEveryOption) {
  TempFolder temp;
  const fs::path config = temp.path / "Notes" / "config";
  const fs::path app = temp.path / "app";
  writeFile(app / "Notes.exe", "MZ");
  ToolRun run = runTool(kBuilder + " --new " + quoted(config) + " --name 'Café Notes'", temp.path);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  run = runTool(kBuilder + " --check " + quoted(config) + " " + quoted(app) + " --strict", temp.path);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, "");
  writeFile(temp.path / "AverluneSetup.exe", bareProgram());
  run = runTool(kBuilder + " --setup " + quoted(temp.path / "AverluneSetup.exe") + " --config " + quoted(config) +
                    " --app " + quoted(app) + " --output " + quoted(temp.path / "Setup.exe"),
                temp.path);
  EXPECT_EQ(run.exitCode, 0) << run.output;

  // A name beyond ASCII reads back as written; the folder's own name serves without --name.
  const auto script = readFile(config / "SC.dat");
  KeyValueFile file;
  openBytes(file, std::string(script.begin(), script.end()));
  SetupOptions options;
  readSetupOptions(options, file, SystemLookup{});
  EXPECT_EQ(options.Appname, u"Café Notes");
  EXPECT_EQ(runTool(kBuilder + " --new " + quoted(temp.path / "Tide/"), temp.path).exitCode, 0);
  const auto tide = readFile(temp.path / "Tide" / "SC.dat");
  EXPECT_NE(std::string(tide.begin(), tide.end()).find("\r\nAppname = Tide\r\n"), std::string::npos);

  // A folder with files in it is never written into; --name alone is a wrong command line.
  writeFile(config / "SC.dat", "mine");
  EXPECT_EQ(runTool(kBuilder + " --new " + quoted(config), temp.path).exitCode, 1);
  EXPECT_EQ(readFile(config / "SC.dat").size(), 4u);
  EXPECT_EQ(runTool(kBuilder + " --name X", temp.path).exitCode, 2);
  EXPECT_EQ(runTool(kBuilder + " --new " + quoted(temp.path / "n") + " --check " + quoted(config), temp.path).exitCode, 2);

  run = runTool(kBuilder + " --version", temp.path);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output.rfind("averlune-build ", 0), 0u) << run.output;
  run = runTool(kBuilder + " --help", temp.path);
  EXPECT_EQ(run.exitCode, 0);
  for (const char* option : {"--setup", "--config", "--app", "--output", "--sign", "--timestamp", "--sign-command",
                             "--strict", "--quiet", "--check", "--new", "--name", "--help", "--version"}) {
    EXPECT_NE(run.output.find(std::string("\n  ") + option + " "), std::string::npos) << option;
  }
  EXPECT_NE(run.output.find("Exit codes:"), std::string::npos);
}

// Signing options that cannot sign are a wrong command line, found before anything is checked or built.
TEST(BuilderCheck, RefusesSigningOptionsThatCannotSign) {
  TempFolder temp;
  writeFile(temp.path / "config" / "SC.dat", "[Setup]\r\nAppname = Notes\r\n");
  writeFile(temp.path / "app" / "Notes.txt", "x");
  writeFile(temp.path / "AverluneSetup.exe", bareProgram());
  const std::string build = kBuilder + " --setup " + quoted(temp.path / "AverluneSetup.exe") + " --config " +
                            quoted(temp.path / "config") + " --app " + quoted(temp.path / "app") + " --output " +
                            quoted(temp.path / "Setup.exe");
  const struct {
    std::string options;
    const char* message;
  } rows[] = {
      {" --timestamp http://127.0.0.1/", "--timestamp goes with --sign; a signing command adds its own time-stamp"},
      {" --sign-command 'tool {}' --timestamp http://127.0.0.1/", "--timestamp goes with --sign"},
      {" --sign c.pem k.pem --sign-command 'tool {}'", "give --sign or --sign-command, not both"},
      {" --sign-command 'signtool sign /a'", "the signing command has no {} where the path of the file to sign goes"},
      {" --sign-command \"tool 'unclosed {}\"", "the signing command has an unclosed '"},
      {" --sign-command 'tool {}' --sign-command 'tool {}'", "--sign-command is given twice"},
  };
  for (const auto& row : rows) {
    const ToolRun run = runTool(build + row.options, temp.path);
    EXPECT_EQ(run.exitCode, 2) << row.options;
    EXPECT_NE(run.output.find(row.message), std::string::npos) << row.options << "\n" << run.output;
    EXPECT_FALSE(fs::exists(temp.path / "Setup.exe")) << row.options;
  }
  const ToolRun check = runTool(kBuilder + " --check " + quoted(temp.path / "config") + " --sign-command 'tool {}'", temp.path);
  EXPECT_EQ(check.exitCode, 2);
}

// As a release package lays it out: the builder finds the bare setup program beside its own file,
// even when started through a link from elsewhere, and shows its progress only to a terminal.
TEST(BuilderCommandLine, FindsTheBareSetupBesideItselfAndShowsProgressOnlyOnATerminal) {
  TempFolder temp;
  const fs::path package = temp.path / "averlune 1.0";
  fs::create_directories(package);
  fs::copy_file(AVERLUNE_BUILDER, package / "averlune-build");
  writeFile(package / "AverluneSetup.exe", bareProgram());
  fs::create_directories(temp.path / "bin");
  fs::create_symlink(package / "averlune-build", temp.path / "bin" / "averlune-build");
  const std::string builder = quoted(temp.path / "bin" / "averlune-build");
  const fs::path config = temp.path / "config";
  const fs::path app = temp.path / "app";
  ASSERT_EQ(runTool(builder + " --new " + quoted(config) + " --name Notes", temp.path).exitCode, 0);
  writeFile(app / "Notes.exe", "MZ");
  for (int i = 0; i < 300; ++i) writeFile(app / "data" / ("part" + std::to_string(i) + ".bin"), noise(10000, i));
  const fs::path output = temp.path / "NotesSetup.exe";
  const std::string build =
      builder + " --config " + quoted(config) + " --app " + quoted(app) + " --output " + quoted(output);

  // Not a terminal: only the closing line, with the size written.
  ToolRun run = runTool(build, temp.path);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string size = sizeText(fs::file_size(output));
  EXPECT_EQ(run.output.find("packing"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.rfind("averlune-build: wrote " + output.string() + " (" + size + ") in ", 0), 0u) << run.output;

  // On a terminal: the line redrawn in place up to the last file, wiped before the closing line.
  const auto onTerminal = [&](const std::string& command) {
    writeFile(temp.path / "command.sh", command + "\n");
    return runTool("script -qec 'sh " + (temp.path / "command.sh").string() + "' /dev/null", temp.path);
  };
  run = onTerminal(build);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.rfind("\rpacking 1 of 301 files, 0.0 of 3.0 MB", 0), 0u) << run.output;
  const std::string last = "\rpacking 301 of 301 files, 3.0 of 3.0 MB";
  const std::size_t lastAt = run.output.find(last);
  ASSERT_NE(lastAt, std::string::npos) << run.output;
  EXPECT_EQ(run.output.substr(lastAt + last.size()),
            "\r" + std::string(last.size() - 1, ' ') + "\raverlune-build: wrote " + output.string() + " (" + size +
                ") in " + run.output.substr(run.output.rfind(") in ") + 5));
  EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << "one line only, the closing one";

  // --quiet: nothing at all, on a terminal or not; failures still speak.
  EXPECT_EQ(onTerminal(build + " --quiet").output, "");
  EXPECT_EQ(runTool(build + " --quiet", temp.path).output, "");
  run = runTool(builder + " --quiet --config " + quoted(config) + " --app " + quoted(temp.path / "missing") +
                    " --output " + quoted(output),
                temp.path);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("no setup written"), std::string::npos) << run.output;

  // Without a bare setup beside it, --setup is needed.
  fs::remove(package / "AverluneSetup.exe");
  run = runTool(build, temp.path);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.output.find("--setup is missing, and no AverluneSetup.exe lies beside averlune-build"),
            std::string::npos)
      << run.output;
}
#endif

}  // namespace
}  // namespace averlune
