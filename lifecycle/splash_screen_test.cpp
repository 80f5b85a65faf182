#include "lifecycle/splash_screen.h"

#include <gtest/gtest.h>

#include <limits>

#include "config/setup_script.h"

namespace averlune {
namespace {

TEST(SplashWait, SecondsBecomeMillisecondsWithinTheSigned32BitRange) {
  const struct {
    const char16_t* spsTime;
    std::uint32_t milliseconds;
  } rows[] = {
      {u"3", 3000},
      {u"2.5", 2000},
      {u"", 0},
      {u"soon", 0},
      {u"-1", 0},  // a negative time waits nothing rather than almost 50 days
      {u"-99999999999", 0},
      {u"2147483", 2147483000},  // the longest time whose milliseconds still fit
      {u"2147484", 2147483000},  // one more second would wrap around
      {u"99999999999", 2147483000},
      {u"$7FFFFFFF", 2147483000},
  };
  for (const auto& row : rows) {
    const std::uint32_t waited = splashWaitMilliseconds(splashSeconds(row.spsTime));
    EXPECT_EQ(waited, row.milliseconds) << std::u16string(row.spsTime).size();
    EXPECT_LE(waited, static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()));
  }
}

TEST(SplashPlacement, CentresOnTheScreenAndCutsWhatIsLarger) {
  const struct {
    int width, height, screenWidth, screenHeight;
    SplashPlacement expected;
  } rows[] = {
      {517, 707, 1024, 768, {253, 30, 517, 707}},     // the sample's picture
      {517, 707, 800, 600, {141, 0, 517, 600}},       // taller than the screen: cut, at the top
      {4000, 3000, 1024, 768, {0, 0, 1024, 768}},     // larger both ways: the whole screen
      {1024, 768, 1024, 768, {0, 0, 1024, 768}},      // exactly the screen
      {101, 51, 1024, 768, {461, 358, 101, 51}},      // odd differences round down
      {0, 0, 1024, 768, {512, 384, 0, 0}},
      {-5, 10, 1024, 768, {512, 379, 0, 10}},
  };
  for (const auto& row : rows) {
    const SplashPlacement p = placeSplashWindow(row.width, row.height, row.screenWidth, row.screenHeight);
    SCOPED_TRACE(testing::Message() << row.width << " x " << row.height);
    EXPECT_EQ(p.x, row.expected.x);
    EXPECT_EQ(p.y, row.expected.y);
    EXPECT_EQ(p.width, row.expected.width);
    EXPECT_EQ(p.height, row.expected.height);
  }
}

}  // namespace
}  // namespace averlune
