#include "wizard/free_space.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace averlune {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(FreeSpaceText, WorkedExamples) {
  struct Row {
    std::uint64_t bytes;
    std::u16string text;
  };
  const Row rows[] = {
      {0, u"ERROR"},
      {kMiB - 1, u"ERROR"},
      {kMiB, u"1 MB"},
      {500 * kMiB, u"500 MB"},
      {500 * kMiB + kMiB - 1, u"500 MB"},  // whole mebibytes, cut not rounded
      {1024 * kMiB, u"1024 MB"},
      {1025 * kMiB, u"1 GB"},
      {1536 * kMiB, u"1.5 GB"},
      {2047 * kMiB, u"2 GB"},
      {10342 * kMiB, u"10.1 GB"},
      {10240 * kMiB, u"10 GB"},
      {20480 * kMiB + 1000 * kMiB, u"21 GB"},  // 20.977 rounds up to 21.0, and the .0 goes
      {102400 * kMiB + 512 * kMiB, u"100.5 GB"},
      {4096ull * 1024 * 1024 * kMiB, u"ERROR"},  // 4 PiB: the 32-bit mebibyte count wraps to 0
  };
  for (const Row& row : rows) EXPECT_EQ(freeSpaceText(row.bytes), row.text) << row.bytes;
}

// The gibibyte text is made from integers; printf's "%.1f" of the same single-precision number
// is the reference, ties (1280 MiB is exactly 1.25) and counts beyond float's exact range included.
TEST(FreeSpaceText, GibibytesMatchPrintfRounding) {
  const auto reference = [](std::uint32_t mebibytes) {
    const double gibibytes = static_cast<float>(mebibytes) / 1024.0f;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", gibibytes);
    std::string number = buffer;
    if (number.back() == '0') {
      std::snprintf(buffer, sizeof buffer, "%.0f", gibibytes);
      number = buffer;
    }
    return std::u16string(number.begin(), number.end()) + u" GB";
  };
  std::vector<std::uint32_t> counts = {1025, 1280, 3328, 5376, 0xFFFFFFFFu, (1u << 24) + 1, (1u << 30) + 77};
  for (std::uint32_t m = 1025; m < 400000; m += 97) counts.push_back(m);
  for (std::uint64_t m = 1u << 24; m <= 0xFFFFFFFFu; m += 0x00F0F0F1u) counts.push_back(static_cast<std::uint32_t>(m));
  for (std::uint32_t m : counts) EXPECT_EQ(freeSpaceText(std::uint64_t{m} << 20), reference(m)) << m;
}

TEST(FreeSpaceRoot, FirstThreeCharacters) {
  EXPECT_EQ(freeSpaceRootOf(u"C:\\Program Files\\Tool\\"), u"C:\\");
  EXPECT_EQ(freeSpaceRootOf(u"E:\\"), u"E:\\");
  EXPECT_EQ(freeSpaceRootOf(u"\\\\server\\share\\"), u"");
  EXPECT_EQ(freeSpaceRootOf(u"\\\\"), u"");
  EXPECT_EQ(freeSpaceRootOf(u"\\Apps\\"), u"\\Ap");
  EXPECT_EQ(freeSpaceRootOf(u"D:"), u"D:");
  EXPECT_EQ(freeSpaceRootOf(u""), u"");
}

}  // namespace
}  // namespace averlune
