#pragma once
// What the splash screen decides before it touches a window: how long it stays and where it sits.
#include <cstdint>

namespace averlune {

// The longest wait, in whole seconds: its milliseconds are the largest count of thousands that
// still fits a signed 32-bit number.
constexpr std::int32_t kLongestSplashSeconds = 2147483;

// How long the splash screen stays, in milliseconds, for SPS_Time read as whole seconds
// (splashSeconds). A negative time waits nothing; a time beyond kLongestSplashSeconds waits that
// longest time instead of wrapping around.
std::uint32_t splashWaitMilliseconds(std::int32_t seconds);

struct SplashPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The splash window's outer rectangle on a screen of screenWidth x screenHeight: its own size cut
// to the screen where larger, centred (a cut side starts at the screen's edge). Sizes below zero
// count as zero.
SplashPlacement placeSplashWindow(int width, int height, int screenWidth, int screenHeight);

}  // namespace averlune
