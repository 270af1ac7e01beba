// The application's message loop and the pre-translation shared with modal loops.
#pragma once

#include <windows.h>

#include <functional>

namespace tk {

// Offers a queued message to the top-level window it is for (keyboard and
// dialog navigation); returns true when that window consumed it.
bool preTranslate(MSG& msg);

// Runs until WM_QUIT; returns its exit code. While `idle` returns true it is
// called whenever the queue holds nothing, not even a window to paint.
int runMessageLoop(const std::function<bool()>& idle = {});

// Runs a nested loop until `done` becomes true or WM_QUIT arrives (which is
// posted again so that the outer loop ends too).
void runModalLoop(const bool& done);

} // namespace tk
