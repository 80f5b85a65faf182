#include "authoring/program_resource.h"

#include <gtest/gtest.h>

#include <functional>

#include "authoring/authoring_test_support.h"

namespace averlune {
namespace {

using namespace averlune::testing;

const std::vector<std::uint8_t> kData = {'p', 'a', 'c', 'k', 'e', 'd'};

TEST(FindProgramResource, FindsTheNumberedResourceAndOnlyIt) {
  const auto program = programWithResource(kResourceTypeRcData, 201, kData);
  const auto span = findProgramResource(program.data(), program.size(), kResourceTypeRcData, 201);
  ASSERT_TRUE(span);
  EXPECT_EQ(std::vector<std::uint8_t>(program.begin() + span->offset, program.begin() + span->offset + span->size),
            kData);
  EXPECT_FALSE(findProgramResource(program.data(), program.size(), kResourceTypeRcData, 202));
  EXPECT_FALSE(findProgramResource(program.data(), program.size(), 3, 201));  // an icon of that number
}

// Each row damages one structure on the way; none may be followed outside the file.
TEST(FindProgramResource, RefusesEveryStructureThatLeavesTheFile) {
  const auto put32 = [](std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    writeLittleEndian32(value, &bytes[at]);
  };
  const struct {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
  } rows[] = {
      {"no MZ", [](auto& b) { b[0] = 'X'; }},
      {"PE header past the end", [&](auto& b) { put32(b, 0x3C, 0xFFFFFFF0u); }},
      {"no PE signature", [](auto& b) { b[0x81] = 'X'; }},
      {"unknown optional header", [](auto& b) { b[kOptionalHeader] = 0x07; }},
      {"optional header past the end", [](auto& b) { b[0x84 + 16] = 0xFF, b[0x84 + 17] = 0xFF; }},
      {"section table past the end", [](auto& b) { b[0x84 + 2] = 0xFF, b[0x84 + 3] = 0xFF; }},
      {"too few data directories", [&](auto& b) { put32(b, kOptionalHeader + 92, 2); }},
      {"tree outside every section", [&](auto& b) { put32(b, kOptionalHeader + 96 + 16, 0x9000); }},
      {"tree longer than its section", [&](auto& b) { put32(b, kOptionalHeader + 96 + 20, 0x10000); }},
      {"section's raw data past the end", [&](auto& b) { put32(b, kSectionTable + 20, 0x7FFFFF00u); }},
      {"type directory's entries past the tree", [](auto& b) { b[kResourceStart + 14] = 0xFF; }},
      {"name directory past the tree", [&](auto& b) { put32(b, kResourceStart + 20, 0x8000FFF0u); }},
      {"type entry names data, not a directory", [&](auto& b) { put32(b, kResourceStart + 20, 0x48); }},
      {"language entry names a directory", [&](auto& b) { put32(b, kResourceStart + 0x30 + 20, 0x80000000u); }},
      {"data entry past the tree", [&](auto& b) { put32(b, kResourceStart + 0x30 + 20, 0xFFFFFFF8u); }},
      {"data outside every section", [&](auto& b) { put32(b, kResourceStart + 0x48, 0x50); }},
      {"data longer than the file", [&](auto& b) { put32(b, kResourceStart + 0x4C, 0xFFFFFFFFu); }},
      {"a directory naming itself", [&](auto& b) { put32(b, kResourceStart + 0x18 + 20, 0x80000018u); }},
  };
  for (const auto& row : rows) {
    auto program = programWithResource(kResourceTypeRcData, 201, kData);
    row.damage(program);
    EXPECT_FALSE(findProgramResource(program.data(), program.size(), kResourceTypeRcData, 201)) << row.name;
  }
  // Every cut of the file: its headers and tree end early.
  const auto program = programWithResource(kResourceTypeRcData, 201, kData);
  for (std::size_t size = 0; size < kResourceStart + 0x58 + kData.size(); ++size) {
    EXPECT_FALSE(findProgramResource(program.data(), size, kResourceTypeRcData, 201)) << size;
  }
}

}  // namespace
}  // namespace averlune
