#pragma once
// A fresh folder under the host's temporary folder for tests that read real files; removed with
// everything in it when the holder goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace averlune {

struct TempFolder {
  std::filesystem::path path;

  TempFolder() {
    std::random_device random;
    path = std::filesystem::temp_directory_path() / ("averlune-config-" + std::to_string(random()));
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ignored;  // best effort: a leftover temporary folder harms nothing
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder as the programs hold it: UTF-16, ending in the separator.
  std::u16string folder() const { return (path / "").u16string(); }

  // Writes `bytes` to the file `name` in the folder and gives the file's full path.
  std::u16string write(const std::u16string& name, const std::string& bytes) const {
    const std::filesystem::path file = path / std::filesystem::path(name);
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    EXPECT_TRUE(out.good());
    return file.u16string();
  }
};

}  // namespace averlune
