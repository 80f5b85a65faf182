#include "lifecycle/configuration_cabinet_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "authoring/cabinet_writer.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

class ExtractCabinet : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("averlune-cabinet-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "work");
  }
  void TearDown() override { fs::remove_all(root_); }

  // Writes a cabinet of `names` (each holding its own name) and unpacks it into root/work.
  bool extract(const std::vector<std::string>& names) {
    std::vector<CabinetEntry> entries;
    for (const std::string& name : names) {
      entries.push_back({name, std::vector<std::uint8_t>(name.begin(), name.end()), DosDateTime{0x5A21, 0}, 0x20});
    }
    std::vector<std::uint8_t> cabinet;
    EXPECT_EQ(buildCabinet(entries, cabinet), "");
    const fs::path file = root_ / "work" / "Setup.cab";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(cabinet.data()),
                                                static_cast<std::streamsize>(cabinet.size()));
    return extractCabinet(fromWide(file.wstring().c_str()), fromWide((root_ / "work").wstring().c_str()) + u"\\");
  }

  fs::path root_;
};

TEST_F(ExtractCabinet, UnpacksEveryFileWithItsSubfolders) {
  ASSERT_TRUE(extract({"SC.dat", "lang\\German.avl", "a\\b\\c.txt"}));
  EXPECT_TRUE(fs::is_regular_file(root_ / "work" / "SC.dat"));
  EXPECT_TRUE(fs::is_regular_file(root_ / "work" / "lang" / "German.avl"));
  EXPECT_EQ(fs::file_size(root_ / "work" / "a" / "b" / "c.txt"), std::string("a\\b\\c.txt").size());
}

TEST_F(ExtractCabinet, StopsAtANameThatLeavesTheWorkFolder) {
  EXPECT_FALSE(extract({"SC.dat", "..\\evil.txt"}));
  EXPECT_FALSE(fs::exists(root_ / "evil.txt"));
}

}  // namespace
}  // namespace averlune
