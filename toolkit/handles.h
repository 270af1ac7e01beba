// RAII owners for the Win32 handles the program holds. One small template per
// handle family; a raw handle in the code is either owned by one of these or
// documented as borrowed.
#pragma once

#include <windows.h>

#include <utility>

namespace tk {

template <class Handle, class Traits> class UniqueHandle {
public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other)
      reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Traits::invalid(); }
  Handle release() noexcept { return std::exchange(h_, Traits::invalid()); }
  void reset(Handle h = Traits::invalid()) noexcept {
    Handle old = std::exchange(h_, h);
    if (old != Traits::invalid())
      Traits::close(old);
  }

private:
  Handle h_ = Traits::invalid();
};

struct WindowTraits {
  static HWND invalid() noexcept { return nullptr; }
  static void close(HWND h) noexcept { DestroyWindow(h); }
};
template <class Gdi> struct GdiTraits {
  static Gdi invalid() noexcept { return nullptr; }
  static void close(Gdi h) noexcept { DeleteObject(h); }
};
struct FileTraits {
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { CloseHandle(h); }
};
struct IconTraits {
  static HICON invalid() noexcept { return nullptr; }
  static void close(HICON h) noexcept { DestroyIcon(h); }
};

using UniqueHwnd = UniqueHandle<HWND, WindowTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueRegion = UniqueHandle<HRGN, GdiTraits<HRGN>>;
using UniqueFile = UniqueHandle<HANDLE, FileTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;

// A device context obtained with GetDC (the client area) or, for `whole`,
// GetWindowDC (the frame too), released with ReleaseDC.
class WindowDc {
public:
  enum Area { client, whole };
  explicit WindowDc(HWND hwnd, Area area = client) noexcept
      : hwnd_(hwnd), dc_(area == whole ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_)
      ReleaseDC(hwnd_, dc_);
  }
  HDC get() const noexcept { return dc_; }

private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint for one WM_PAINT.
class PaintScope {
public:
  explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd) { BeginPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  HDC dc() const noexcept { return ps_.hdc; }
  const RECT& dirty() const noexcept { return ps_.rcPaint; }

private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
};

// A memory DC compatible with `like`, holding `bitmap` for one scope.
class BitmapDc {
public:
  BitmapDc(HDC like, HBITMAP bitmap) noexcept
      : dc_(CreateCompatibleDC(like)), old_(SelectObject(dc_, bitmap)) {}
  BitmapDc(const BitmapDc&) = delete;
  BitmapDc& operator=(const BitmapDc&) = delete;
  ~BitmapDc() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC get() const noexcept { return dc_; }

private:
  HDC dc_;
  HGDIOBJ old_;
};

// A 32-bit top-down DIB section of w x h pixels; `pixels` receives its
// pixels (0x00RRGGBB, row after row), null when it could not be made.
inline UniqueBitmap dibSection(int w, int h, DWORD** pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  *pixels = bitmap ? static_cast<DWORD*>(bits) : nullptr;
  return bitmap;
}

// A colour as a pixel of such a DIB section.
constexpr DWORD dibColour(COLORREF c) noexcept {
  return (static_cast<DWORD>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Selects a GDI object into a DC for one scope and puts the old one back.
class SelectScope {
public:
  SelectScope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() { SelectObject(dc_, old_); }

private:
  HDC dc_;
  HGDIOBJ old_;
};

} // namespace tk
