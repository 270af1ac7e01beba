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

inline int scale(int px96, UINT dpi) noexcept {
  return MulDiv(px96, static_cast<int>(dpi), 96);
}

} // namespace tk
