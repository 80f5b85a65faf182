#include "lifecycle/splash_screen_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/bitmap_test_support.h"
#include "base/temp_folder_test_support.h"

namespace averlune {
namespace {

struct SoundCall {
  std::string call;
  DWORD tick;
};

// The sound plays once, from the bytes of ssps.dat, and is cut off when the splash time is over
// rather than left to play on under the wizard; a sound that does not play is not stopped.
TEST(SplashScreenWin, TheSoundPlaysFromItsFileAndIsCutOffAtTheEndOfTheSplashTime) {
  TempFolder temp;
  temp.write(u"isps.dat", test::plainBitmap(8, 8, 0x336699));
  const std::string sound = std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + "sound bytes";
  temp.write(u"ssps.dat", sound);
  std::vector<SoundCall> calls;
  bool plays = true;
  const SplashSoundPlayer player{[&](const std::string& bytes) {
                                   calls.push_back({bytes == sound ? "play" : "play other bytes", GetTickCount()});
                                   return plays;
                                 },
                                 [&] { calls.push_back({"stop", GetTickCount()}); }};

  showSplashScreen(temp.folder(), u"1", &player);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].call, "play");
  EXPECT_EQ(calls[1].call, "stop");
  EXPECT_GE(calls[1].tick - calls[0].tick, 900u);  // not before the second was over

  calls.clear();
  plays = false;
  showSplashScreen(temp.folder(), u"0", &player);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].call, "play");
}

}  // namespace
}  // namespace averlune
