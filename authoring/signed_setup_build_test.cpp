#include "authoring/signed_setup_build.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "authoring/authoring_test_support.h"
#include "authoring/program_resource.h"
#include "config/uninstaller_image.h"

namespace averlune {
namespace {

using namespace averlune::testing;

// The uninstaller a bare setup program carries: any small PE32 program.
std::vector<std::uint8_t> uninstallerProgram() { return programWithResource(kResourceTypeRcData, 1, noise(700, 3)); }

// Packed as the setup program's resources are: the size, least significant byte first, then zlib.
std::vector<std::uint8_t> packed(const std::vector<std::uint8_t>& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::vector<std::uint8_t> out(4 + size);
  writeLittleEndian32(static_cast<std::uint32_t>(bytes.size()), out.data());
  compress(out.data() + 4, &size, bytes.data(), static_cast<uLong>(bytes.size()));
  out.resize(4 + size);
  return out;
}

struct SignedBuild {
  TempFolder temp;
  BuildRequest request;
  std::vector<fs::path> signedFiles;
  SignFileInPlace sign = [this](const fs::path& file) {
    signedFiles.push_back(file);
    fakeSign(file);
    return std::string();
  };
  SignedBuild() {
    request.setupProgram = temp.path / "AverluneSetup.exe";
    request.configFolder = temp.path / "config";
    request.appFolder = temp.path / "app";
    request.output = temp.path / "out" / "NotesSetup.exe";
    writeFile(request.setupProgram, programWithResource(kResourceTypeRcData, IDR_UNINSTALLER_IMAGE,
                                                        packed(uninstallerProgram())));
    writeFile(request.configFolder / "SC.dat", "[Setup]\r\nAppname = Notes\r\nUninstaller = 1\r\n");
    writeFile(request.appFolder / "Notes.exe", noise(3000, 11));
    fs::create_directories(request.output.parent_path());
    writeFile(request.output, "earlier");
  }
  std::size_t filesBesideOutput() const {
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(request.output.parent_path())) files += entry.is_regular_file();
    return files;
  }
};

TEST(BuildSignedSetup, SignsTheUninstallerItCarriesThenTheSetup) {
  if (!hostToolPresent("cabextract")) GTEST_SKIP() << "cabextract is not installed";
  SignedBuild b;
  std::string image;
  ASSERT_EQ(readCarriedUninstaller(b.request.setupProgram, image), "");
  EXPECT_EQ(std::vector<std::uint8_t>(image.begin(), image.end()), uninstallerProgram());

  ASSERT_EQ(buildSignedSetup(b.request, b.sign), "");
  ASSERT_EQ(b.signedFiles.size(), 2u);
  EXPECT_EQ(b.signedFiles[0].extension(), ".exe");  // signing tools may look at the extension
  EXPECT_TRUE(carriesSignature(b.request.output));
  EXPECT_EQ(b.filesBesideOutput(), 1u);

  // The configuration cabinet carries the signed uninstaller beside the author's files.
  const auto setup = readFile(b.request.output);
  const std::size_t cabinetStart = readFile(b.request.setupProgram).size() + 8;
  const std::uint64_t cabinetLength = readLittleEndian64(&setup[cabinetStart - 8]);
  const fs::path cabinet = b.temp.path / "config.cab";
  writeFile(cabinet, std::vector<std::uint8_t>(setup.begin() + cabinetStart, setup.begin() + cabinetStart + cabinetLength));
  const fs::path unpacked = b.temp.path / "unpacked";
  ASSERT_EQ(runTool("cabextract -q -d " + quoted(unpacked) + " " + quoted(cabinet), b.temp.path).exitCode, 0);
  auto expected = uninstallerProgram();
  const fs::path signedCopy = b.temp.path / "expected.exe";
  writeFile(signedCopy, expected);
  fakeSign(signedCopy);
  EXPECT_EQ(readFile(unpacked / kCabinetUninstallerName), readFile(signedCopy));
  EXPECT_TRUE(fs::exists(unpacked / "SC.dat"));
}

// Whatever step fails, the author gets the reason, the earlier output stays, nothing is left beside it.
TEST(BuildSignedSetup, LeavesTheEarlierOutputWhenAnyStepFails) {
  const struct {
    const char* name;
    std::function<void(SignedBuild&)> arrange;
    std::string reason;
  } rows[] = {
      {"the command fails on the uninstaller",
       [](SignedBuild& b) { b.sign = [](const fs::path&) { return std::string("token not present"); }; },
       "token not present"},
      {"the command fails on the setup",
       [](SignedBuild& b) {
         b.sign = [&b](const fs::path& file) {
           if (!b.signedFiles.empty()) return std::string("service refused");
           b.signedFiles.push_back(file);
           fakeSign(file);
           return std::string();
         };
       },
       "service refused"},
      {"the command reports success but signs nothing",
       [](SignedBuild& b) { b.sign = [](const fs::path&) { return std::string(); }; },
       "signing reported success but left the uninstaller without a signature"},
      {"the setup program carries no uninstaller",
       [](SignedBuild& b) { writeFile(b.request.setupProgram, bareProgram()); }, ""},
      {"the configuration holds a file named like the carried uninstaller",
       [](SignedBuild& b) { writeFile(b.request.configFolder / "averluneUNINSTALL.exe", "x"); },
       "the configuration folder must not hold AverluneUninstall.exe: the setup would write it out as its uninstaller"},
  };
  for (const auto& row : rows) {
    SignedBuild b;
    row.arrange(b);
    const std::string reason = buildSignedSetup(b.request, b.sign);
    if (row.reason.empty()) {
      EXPECT_EQ(reason, "the setup program " + b.request.setupProgram.string() + " carries no uninstaller to sign");
    } else {
      EXPECT_EQ(reason, row.reason) << row.name;
    }
    EXPECT_EQ(readFile(b.request.output), (std::vector<std::uint8_t>{'e', 'a', 'r', 'l', 'i', 'e', 'r'})) << row.name;
    EXPECT_EQ(b.filesBesideOutput(), 1u) << row.name;
  }
}

}  // namespace
}  // namespace averlune
