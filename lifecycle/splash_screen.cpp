#include "lifecycle/splash_screen.h"

#include <algorithm>

namespace averlune {

std::uint32_t splashWaitMilliseconds(std::int32_t seconds) {
  const std::int32_t bounded = std::clamp<std::int32_t>(seconds, 0, kLongestSplashSeconds);
  return static_cast<std::uint32_t>(bounded) * 1000u;
}

SplashPlacement placeSplashWindow(int width, int height, int screenWidth, int screenHeight) {
  SplashPlacement placement;
  screenWidth = std::max(screenWidth, 0);
  screenHeight = std::max(screenHeight, 0);
  placement.width = std::clamp(width, 0, screenWidth);
  placement.height = std::clamp(height, 0, screenHeight);
  placement.x = (screenWidth - placement.width) / 2;
  placement.y = (screenHeight - placement.height) / 2;
  return placement;
}

}  // namespace averlune
