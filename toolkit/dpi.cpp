#include "toolkit/dpi.h"

#include "toolkit/handles.h"
#include "toolkit/late_bound.h"
#include "toolkit/placement.h"

namespace tk {

UINT screenDpi() noexcept {
  const WindowDc screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT windowDpi(HWND hwnd) noexcept {
  // GetDpiForWindow exists from Windows 10 1607 on; look it up so that the
  // program still starts on older systems.
  static const auto getDpiForWindow =
      user32Function<decltype(&::GetDpiForWindow)>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi)
      return dpi;
  }
  return screenDpi();
}

int systemMetric(int index, UINT dpi) noexcept {
  // GetSystemMetricsForDpi exists from Windows 10 1607 on; before it, the
  // system-DPI value scaled.
  static const auto metricForDpi =
      user32Function<decltype(&::GetSystemMetricsForDpi)>("GetSystemMetricsForDpi");
  if (metricForDpi)
    return metricForDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(screenDpi()));
}

BOOL adjustWindowRect(RECT& r, DWORD style, DWORD exStyle, UINT dpi) noexcept {
  // AdjustWindowRectExForDpi exists from Windows 10 1607 on; before it, the
  // frame at the system DPI.
  static const auto adjustForDpi =
      user32Function<decltype(&::AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
  if (adjustForDpi)
    return adjustForDpi(&r, style, FALSE, exStyle, dpi);
  return AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

SIZE fitClientSize(HWND hwnd, SIZE client) noexcept {
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  SIZE size{outer.right - outer.left, outer.bottom - outer.top};
  // A second try for a frame that changes with the window's size (a menu
  // bar that wraps, a monitor boundary crossed).
  for (int attempt = 0; attempt < 2; ++attempt) {
    RECT got{};
    GetClientRect(hwnd, &got);
    if (got.right == client.cx && got.bottom == client.cy)
      break;
    size.cx += client.cx - got.right;
    size.cy += client.cy - got.bottom;
    resizeWindow(hwnd, size.cx, size.cy);
  }
  return size;
}

} // namespace tk
