#include "authoring/setup_builder.h"

#include <gtest/gtest.h>

#include <functional>

#include "authoring/authoring_test_support.h"

namespace averlune {
namespace {

using namespace averlune::testing;

// A bare setup program, a configuration folder and an application folder in a private folder.
struct BuildFixture {
  TempFolder temp;
  BuildRequest request;
  BuildFixture() {
    request.setupProgram = temp.path / "AverluneSetup.exe";
    request.configFolder = temp.path / "config";
    request.appFolder = temp.path / "app";
    request.output = temp.path / "out" / "NotesSetup.exe";
    writeFile(request.setupProgram, bareProgram());
    writeFile(request.configFolder / "SC.dat", "[Setup]\r\nAppname = Notes\r\n");
    writeFile(request.configFolder / "isps.dat", noise(40000, 9));
    writeFile(request.configFolder / "images" / "Image_Top.jpg", noise(300, 10));
    writeFile(request.appFolder / "Notes.exe", noise(3000, 11));
    writeFile(request.appFolder / "help" / "index.txt", prose(2000));
    fs::create_directories(request.output.parent_path());
  }
};

TEST(BuildSetup, AppendsTheContainerBehindTheUnchangedProgram) {
  BuildFixture f;
  fs::permissions(f.request.configFolder / "SC.dat", fs::perms::owner_read | fs::perms::group_read);
  ASSERT_EQ(buildSetup(f.request), "");

  const auto setup = readFile(f.request.output);
  const auto program = bareProgram();
  ASSERT_GT(setup.size(), program.size() + 12);
  EXPECT_TRUE(std::equal(program.begin(), program.end(), setup.begin()));
  const std::uint64_t cabinetLength = readLittleEndian64(&setup[program.size()]);
  const std::size_t cabinetStart = program.size() + 8;
  ASSERT_LE(cabinetStart + cabinetLength, setup.size() - 4);
  EXPECT_EQ(std::string(setup.begin() + cabinetStart, setup.begin() + cabinetStart + 4), "MSCF");
  EXPECT_EQ(readLittleEndian32(&setup[cabinetStart + 8]), cabinetLength);  // the cabinet's own length field
  const std::uint32_t archiveLength = readLittleEndian32(&setup[setup.size() - 4]);
  EXPECT_EQ(cabinetStart + cabinetLength + archiveLength + 4, setup.size());
  EXPECT_EQ(readLittleEndian32(&setup[cabinetStart + cabinetLength]), 0x04034b50u);  // first local header

  // A read-only file on the author's disk must not stay read-only in the work folder, or the setup
  // could not remove its work folder at the end.
  const std::size_t firstFileEntry = cabinetStart + 36 + 8;
  EXPECT_EQ(setup[firstFileEntry + 14], 0x20);

  // No intermediate file stays beside the output.
  std::size_t filesBeside = 0;
  for (const auto& entry : fs::directory_iterator(f.request.output.parent_path())) filesBeside += entry.is_regular_file();
  EXPECT_EQ(filesBeside, 1u);
}

TEST(BuildSetup, HostReadersAcceptBothArchives) {
  if (!hostToolPresent("unzip") || !hostToolPresent("cabextract")) GTEST_SKIP() << "needs unzip and cabextract";
  BuildFixture f;
  ASSERT_EQ(buildSetup(f.request), "");
  // Entries: the empty-named folder, two files, one subfolder.
  EXPECT_TRUE(unzipTestAccepts(f.request.output, 4, f.temp.path));
  EXPECT_EQ(unzipEntry(f.request.output, "help/index.txt", f.temp.path), prose(2000));

  const auto setup = readFile(f.request.output);
  const std::size_t start = bareProgram().size() + 8;
  const std::vector<std::uint8_t> cabinet(setup.begin() + start,
                                          setup.begin() + start + readLittleEndian64(&setup[start - 8]));
  writeFile(f.temp.path / "Setup.cab", cabinet);
  const fs::path out = f.temp.path / "work";
  const ToolRun run = runTool("cabextract -q -d " + quoted(out) + " " + quoted(f.temp.path / "Setup.cab"), f.temp.path);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(readFile(out / "isps.dat"), noise(40000, 9));
  EXPECT_EQ(readFile(out / "images" / "Image_Top.jpg"), noise(300, 10));
  const std::string script = "[Setup]\r\nAppname = Notes\r\n";
  EXPECT_EQ(readFile(out / "SC.dat"), std::vector<std::uint8_t>(script.begin(), script.end()));
}

TEST(BuildSetup, RefusesWithAReasonAndLeavesThePreviousOutputAlone) {
  struct Refusal {
    const char* what;
    std::function<void(BuildFixture&)> arrange;
    const char* reasonPart;
  };
  const std::vector<Refusal> refusals = {
      {"setup program missing", [](BuildFixture& f) { fs::remove(f.request.setupProgram); }, "does not exist"},
      {"setup program not a program", [](BuildFixture& f) { writeFile(f.request.setupProgram, "MZ but no more"); },
       "is not a Windows program"},
      {"setup program already finished",
       [](BuildFixture& f) {
         auto finished = bareProgram();
         finished.insert(finished.end(), 40, 0);
         writeFile(f.request.setupProgram, finished);
       },
       "already carries a payload container"},
      {"configuration folder missing", [](BuildFixture& f) { fs::remove_all(f.request.configFolder); }, "does not exist"},
      {"configuration folder is a file",
       [](BuildFixture& f) {
         fs::remove_all(f.request.configFolder);
         writeFile(f.request.configFolder, "x");
       },
       "is not a folder"},
      {"configuration folder without files",
       [](BuildFixture& f) {
         fs::remove_all(f.request.configFolder);
         fs::create_directories(f.request.configFolder / "only-a-folder");
       },
       "holds no files"},
      {"application folder missing", [](BuildFixture& f) { fs::remove_all(f.request.appFolder); }, "does not exist"},
      {"output inside the application folder",
       [](BuildFixture& f) { f.request.output = f.request.appFolder / "Setup.exe"; }, "inside the application folder"},
      {"output replacing the setup program", [](BuildFixture& f) { f.request.output = f.request.setupProgram; },
       "bare setup program"},
      {"output folder missing", [](BuildFixture& f) { f.request.output = f.temp.path / "nowhere" / "Setup.exe"; },
       "does not exist"},
#ifndef _WIN32
      {"dangling link in the configuration",
       [](BuildFixture& f) { fs::create_symlink(f.temp.path / "gone", f.request.configFolder / "OS.dat"); },
       "cannot read"},
      {"dangling link in the application",
       [](BuildFixture& f) { fs::create_symlink(f.temp.path / "gone", f.request.appFolder / "data.bin"); },
       "cannot read"},
#endif
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    BuildFixture f;
    writeFile(f.request.output, "previous setup");
    r.arrange(f);
    const std::string reason = buildSetup(f.request);
    EXPECT_NE(reason.find(r.reasonPart), std::string::npos) << reason;
    if (f.request.output.parent_path() == f.temp.path / "out") {
      EXPECT_EQ(readFile(f.request.output), std::vector<std::uint8_t>({'p', 'r', 'e', 'v', 'i', 'o', 'u', 's', ' ', 's',
                                                                       'e', 't', 'u', 'p'}));
      std::size_t filesBeside = 0;
      for (const auto& entry : fs::directory_iterator(f.temp.path / "out")) filesBeside += entry.is_regular_file();
      EXPECT_EQ(filesBeside, 1u);
    }
  }
}

TEST(BuildSetup, ReplacesAnEarlierOutputOnSuccess) {
  BuildFixture f;
  writeFile(f.request.output, "previous setup");
  ASSERT_EQ(buildSetup(f.request), "");
  EXPECT_GT(fs::file_size(f.request.output), bareProgram().size());
}

}  // namespace
}  // namespace averlune
