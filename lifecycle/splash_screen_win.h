#pragma once
// The splash screen, shown at start-up when the setup option SplashScreen is 1.
#include <string>

namespace averlune {

// Shows the work folder's picture isps.dat in a borderless window in the middle of the screen and
// plays its sound ssps.dat once, for the time SPS_Time gives (splashWaitMilliseconds), and returns
// when that time is over. The user can neither close nor skip it: the window is repainted while
// it waits, clicks and keys do nothing. Without a readable picture it returns at once, with no
// window, no sound and no wait. A sound still playing at the end is cut off.
void showSplashScreen(const std::u16string& workFolder, const std::u16string& spsTime);

}  // namespace averlune
