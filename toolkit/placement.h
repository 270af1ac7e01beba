// Placing a window: its bounds from a rectangle, and the one rule for a place
// on a monitor that the common dialogs, the save dialog, the error box's owner
// and the confirmation window share.
#pragma once

#include <windows.h>

#include <optional>

namespace tk {

// Gives `window` the bounds `r` (in its parent's client area for a child),
// keeping its stacking order and activation; `repaint` as for MoveWindow.
inline void moveWindow(HWND window, const RECT& r, bool repaint = true) noexcept {
  MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
}

// Gives `window` the size width x height, keeping its place, stacking order
// and activation.
inline void resizeWindow(HWND window, int width, int height) noexcept {
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

struct Centring {
  // The window's top goes down by the free height divided by this: 2 centres
  // it, 3 puts it a third of the way down.
  int verticalDivisor = 2;
  // A window larger than the area keeps its top-left corner, and with it its
  // caption, inside the area.
  bool keepTopLeftInside = false;
};

// Where a window of `size` goes in `area`: centred horizontally, and down by
// the free height divided as `how` says (integer divisions).
POINT centredIn(const RECT& area, SIZE size, Centring how = {}) noexcept;

enum class MonitorArea { whole, work };

// The whole or the work area of the monitor nearest to `window`.
std::optional<RECT> monitorArea(HWND window, MonitorArea which) noexcept;

// Moves `window` to its place (centredIn) on the area of the monitor that
// `monitorOf` is on, keeping its size, stacking order and activation. Returns
// whether it was moved.
bool centreOnMonitor(HWND window, HWND monitorOf, MonitorArea which, Centring how = {}) noexcept;

} // namespace tk
