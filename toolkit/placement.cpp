#include "toolkit/placement.h"

#include <algorithm>

namespace tk {

POINT centredIn(const RECT& area, SIZE size, Centring how) noexcept {
  POINT at{area.left + (area.right - area.left - size.cx) / 2,
           area.top + (area.bottom - area.top - size.cy) / how.verticalDivisor};
  if (how.keepTopLeftInside) {
    at.x = std::max(at.x, area.left);
    at.y = std::max(at.y, area.top);
  }
  return at;
}

std::optional<RECT> monitorArea(HWND window, MonitorArea which) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
    return std::nullopt;
  return which == MonitorArea::work ? info.rcWork : info.rcMonitor;
}

bool centreOnMonitor(HWND window, HWND monitorOf, MonitorArea which, Centring how) noexcept {
  const std::optional<RECT> area = monitorArea(monitorOf, which);
  RECT frame{};
  if (!area || !GetWindowRect(window, &frame))
    return false;
  const POINT at = centredIn(*area, SIZE{frame.right - frame.left, frame.bottom - frame.top}, how);
  return SetWindowPos(window, nullptr, at.x, at.y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

} // namespace tk
