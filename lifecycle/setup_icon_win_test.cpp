#include "lifecycle/setup_icon_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/wide_text_win.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

// An ICO file with one 32-bit image of the given size.
std::string iconFile(int width, int height) {
  auto put16 = [](std::string& out, unsigned v) { out += char(v & 0xFF); out += char(v >> 8); };
  auto put32 = [&](std::string& out, unsigned v) { put16(out, v & 0xFFFF); put16(out, v >> 16); };
  std::string image;
  put32(image, 40); put32(image, width); put32(image, height * 2); put16(image, 1); put16(image, 32);
  for (int i = 0; i < 6; ++i) put32(image, 0);
  image.append(static_cast<std::size_t>(width) * height * 4, '\x7F');
  image.append(static_cast<std::size_t>((width + 31) / 32 * 4) * height, '\0');
  std::string file;
  put16(file, 0); put16(file, 1); put16(file, 1);
  file += char(width >= 256 ? 0 : width); file += char(height >= 256 ? 0 : height); file += '\0'; file += '\0';
  put16(file, 1); put16(file, 32); put32(file, static_cast<unsigned>(image.size())); put32(file, 22);
  return file + image;
}

SIZE sizeOf(HICON icon) {
  ICONINFO info;
  if (!GetIconInfo(icon, &info)) return {0, 0};
  const OwnedGdiObject colour(info.hbmColor);
  const OwnedGdiObject mask(info.hbmMask);
  BITMAP bitmap;
  if (!GetObjectW(colour.get(), sizeof bitmap, &bitmap)) return {0, 0};
  return {bitmap.bmWidth, bitmap.bmHeight};
}

class SetupIcon : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("averlune-icon-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::u16string workFolder() const { return fromWide(folder_.wstring().c_str()) + u"\\"; }
  void writeIconDat(const std::string& bytes) { std::ofstream(folder_ / "icon.dat", std::ios::binary) << bytes; }
  fs::path folder_;
};

TEST_F(SetupIcon, MissingOrEmptyIconDatGetsTheBuiltInIcon) {
  for (bool empty : {false, true}) {
    if (empty) writeIconDat("");
    const OwnedIcon icon = loadSetupIcon(workFolder());
    ASSERT_TRUE(icon);
    EXPECT_EQ(fs::file_size(folder_ / "icon.dat"), 25214u);
    fs::remove(folder_ / "icon.dat");
  }
}

TEST_F(SetupIcon, OnlyPicturesLargerThan48InBothDirectionsAreScaled) {
  struct Row { int width, height, expectedWidth, expectedHeight; };
  for (const Row& row : {Row{64, 64, 48, 48}, Row{64, 32, 64, 32}, Row{32, 32, 32, 32}}) {
    writeIconDat(iconFile(row.width, row.height));
    const OwnedIcon icon = loadSetupIcon(workFolder());
    ASSERT_TRUE(icon) << row.width << "x" << row.height;
    const SIZE size = sizeOf(icon.get());
    EXPECT_EQ(size.cx, row.expectedWidth) << row.width << "x" << row.height;
    EXPECT_EQ(size.cy, row.expectedHeight) << row.width << "x" << row.height;
  }
}

TEST_F(SetupIcon, AnUnreadableIconOrAFolderNamedIconDatLeavesNoIcon) {
  writeIconDat("not an icon");
  EXPECT_FALSE(loadSetupIcon(workFolder()));
  fs::remove(folder_ / "icon.dat");
  fs::create_directory(folder_ / "icon.dat");
  EXPECT_FALSE(loadSetupIcon(workFolder()));
}

}  // namespace
}  // namespace averlune
