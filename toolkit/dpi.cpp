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

} // namespace tk
