#pragma once
// The splash screen, shown at start-up when the setup option SplashScreen is 1.
#include <functional>
#include <string>

namespace averlune {

// The sound's two calls: `play` starts the file's bytes playing without waiting (false when they do
// not play), `stop` cuts off what plays. Without a player of its own the splash screen uses the
// system's multimedia library (none when it is missing: no sound).
struct SplashSoundPlayer {
  std::function<bool(const std::string& sound)> play;
  std::function<void()> stop;
};

// Shows the work folder's picture isps.dat in a borderless window in the middle of the screen and
// plays its sound ssps.dat once, for the time SPS_Time gives (splashWaitMilliseconds), and returns
// when that time is over. The user can neither close nor skip it: the window is repainted while
// it waits, clicks and keys do nothing. Without a readable picture it returns at once, with no
// window, no sound and no wait. A sound still playing at the end is cut off.
void showSplashScreen(const std::u16string& workFolder, const std::u16string& spsTime,
                      const SplashSoundPlayer* soundPlayer = nullptr);

}  // namespace averlune
