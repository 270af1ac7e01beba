#include "toolkit/dpi.h"

namespace tk {

UINT screenDpi() noexcept {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc)
    ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT windowDpi(HWND hwnd) noexcept {
  // GetDpiForWindow exists from Windows 10 1607 on; look it up so that the
  // program still starts on older systems.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
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
  using MetricForDpiFn = int(WINAPI*)(int, UINT);
  static const auto metricForDpi = reinterpret_cast<MetricForDpiFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (metricForDpi)
    return metricForDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(screenDpi()));
}

BOOL adjustWindowRect(RECT& r, DWORD style, DWORD exStyle, UINT dpi) noexcept {
  // AdjustWindowRectExForDpi exists from Windows 10 1607 on; before it, the
  // frame at the system DPI.
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = reinterpret_cast<AdjustFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (adjustForDpi)
    return adjustForDpi(&r, style, FALSE, exStyle, dpi);
  return AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

} // namespace tk
