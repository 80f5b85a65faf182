#pragma once
// Starting a program or opening an address on the user's desktop (guards/desktop_start.h): as the
// user signed in to the desktop, through its shell, where there is one. Windows edge.
#include <vector>

#include "guards/desktop_start.h"

namespace averlune {

// Starts `start` the first of desktopStartWays(start) that works, without waiting for it; the way
// taken, or none. Failures are results only: the shell shows no box of its own. Initialises COM
// for the calling thread while it works (any thread that may own windows).
DesktopStartWay startOnDesktop(const DesktopStart& start);

// The same, trying `ways` alone: the tests leave the desktop's shell out to see the fallback.
DesktopStartWay startTryingWays(const DesktopStart& start, const std::vector<DesktopStartWay>& ways);

}  // namespace averlune
