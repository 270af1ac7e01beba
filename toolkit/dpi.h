// Layout figures are written for 96 dpi and scaled once by the window's DPI.
#pragma once

#include <windows.h>

namespace tk {

// The DPI a window is drawn at (per-monitor where the system supports it).
UINT windowDpi(HWND hwnd) noexcept;
// The DPI of the primary screen's device context (system DPI).
UINT screenDpi() noexcept;

// GetSystemMetrics(index) for a window drawn at `dpi`.
int systemMetric(int index, UINT dpi) noexcept;

// AdjustWindowRectEx (no menu) for a window drawn at `dpi`: turns a client
// rectangle into the window rectangle around it.
BOOL adjustWindowRect(RECT& r, DWORD style, DWORD exStyle, UINT dpi) noexcept;

// Corrects the size of a top-level window, which has just been given the
// outer size computed for client size `client`, by what its client area
// really came out as, keeping its top-left corner. The frame a window gets can
// differ from the computed one: while it moves between monitors, or under
// Wine, which draws the frame of a window at the system DPI when the window's
// monitor has another. Returns the window's outer size.
SIZE fitClientSize(HWND hwnd, SIZE client) noexcept;

inline int scale(int px96, UINT dpi) noexcept {
  return MulDiv(px96, static_cast<int>(dpi), 96);
}

} // namespace tk
