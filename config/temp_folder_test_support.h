#pragma once
// A fresh folder under the host's temporary folder for tests that read real files; removed with
// everything in it when the holder goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "config/text_decoding.h"

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
  std::u16string folder() const { return decodeUtf8((path / "").string()); }

  std::u16string write(const std::string& utf8Name, const std::string& bytes) const {
    std::ofstream out(path / utf8Name, std::ios::binary);
    out << bytes;
    EXPECT_TRUE(out.good());
    return decodeUtf8((path / utf8Name).string());
  }
};

}  // namespace averlune
