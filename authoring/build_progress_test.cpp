// The builder's progress and closing lines: their exact text, and when the terminal line is
// redrawn and what a redraw leaves on the line.
#include "authoring/build_progress.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

using std::chrono::milliseconds;

TEST(BuildProgress, TextsRoundToOneDecimalInTheirUnits) {
  EXPECT_EQ(progressText({1234, 20000, 12345678, 206000000}), "packing 1234 of 20000 files, 12.3 of 206.0 MB");
  EXPECT_EQ(progressText({0, 0, 0, 0}), "packing 0 of 0 files, 0.0 of 0.0 MB");
  EXPECT_EQ(progressText({1, 2, 49999, 50000}), "packing 1 of 2 files, 0.0 of 0.1 MB");
  const struct {
    std::uint64_t bytes;
    const char* text;
  } sizes[] = {{0, "0 bytes"},        {1, "1 byte"},          {999, "999 bytes"},
               {1000, "1.0 KB"},      {1049, "1.0 KB"},       {1050, "1.1 KB"},
               {999949, "999.9 KB"},  {999950, "1.0 MB"},     {206123456, "206.1 MB"},
               {5000000000ull, "5000.0 MB"}};
  for (const auto& row : sizes) EXPECT_EQ(sizeText(row.bytes), row.text) << row.bytes;
  EXPECT_EQ(writtenText("out/Notes Setup.exe", 1234567, milliseconds(2849)),
            "averlune-build: wrote out/Notes Setup.exe (1.2 MB) in 2.8 s");
  EXPECT_EQ(writtenText("S.exe", 10, milliseconds(0)), "averlune-build: wrote S.exe (10 bytes) in 0.0 s");
}

TEST(BuildProgress, RedrawsInPlaceAtMostEveryIntervalButAlwaysTheLastFile) {
  const auto start = std::chrono::steady_clock::time_point() + std::chrono::hours(1);
  ProgressLine line;
  EXPECT_EQ(clearProgressLine(line), "");
  EXPECT_EQ(redrawProgressLine(line, {1, 300, 1000000, 300000000}, start),
            "\rpacking 1 of 300 files, 1.0 of 300.0 MB");
  EXPECT_EQ(redrawProgressLine(line, {2, 300, 2000000, 300000000}, start + milliseconds(99)), "");
  EXPECT_EQ(redrawProgressLine(line, {150, 300, 150000000, 300000000}, start + milliseconds(100)),
            "\rpacking 150 of 300 files, 150.0 of 300.0 MB");
  // The last file is drawn however soon it comes.
  EXPECT_EQ(redrawProgressLine(line, {300, 300, 300000000, 300000000}, start + milliseconds(101)),
            "\rpacking 300 of 300 files, 300.0 of 300.0 MB");
  EXPECT_EQ(clearProgressLine(line), "\r" + std::string(43, ' ') + "\r");

  // A shorter text covers what is left of the longer one before it.
  ProgressLine shrinking;
  redrawProgressLine(shrinking, {9, 10, 123456789, 999999999}, start);
  EXPECT_EQ(redrawProgressLine(shrinking, {10, 10, 0, 0}, start),
            "\rpacking 10 of 10 files, 0.0 of 0.0 MB" + std::string(4, ' '));
}

}  // namespace
}  // namespace averlune
