#include "controls/timer_speed_button.h"

#include <algorithm>
#include <windowsx.h>

namespace controls {
namespace {

const UINT_PTR kRepeatTimer = 1;
const UINT kFirstRepeatMs = 400;
const UINT kNextRepeatMs = 100;

// A memory DC holding one bitmap for the lifetime of the scope.
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

// Raster operation: where the monochrome source is 0, the brush; else the destination.
const DWORD kPaintBrushWhereSourceIsBlack = 0x00B8074A;
// Raster operation: destination AND NOT source.
const DWORD kDestinationAndNotSource = 0x00220326;

} // namespace

TTimerSpeedButton::~TTimerSpeedButton() {
  destroy();
}

void TTimerSpeedButton::create(HWND parent, int x, int y, int width, int height) {
  tk::CreateArgs args = tk::CreateArgs::child(parent, 0, x, y, width, height);
  args.style |= WS_VISIBLE;
  // The button paints every pixel itself, so the class has no background brush.
  createOwn(L"SheetloomTimerSpeedButton", args, 0, nullptr);
}

void TTimerSpeedButton::SetTimeBtnStates(unsigned states) {
  if (states == states_)
    return;
  states_ = states;
  if (hwnd())
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTimerSpeedButton::SetGlyph(tk::UniqueBitmap glyph) {
  glyph_ = std::move(glyph);
  if (hwnd())
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTimerSpeedButton::SetNumGlyphs(int count) {
  numGlyphs_ = std::clamp(count, 1, 4);
  if (hwnd())
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTimerSpeedButton::Click() {
  if (OnClick)
    OnClick(*this);
}

LRESULT TTimerSpeedButton::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    mouseDown(msg);
    return 0;
  case WM_MOUSEMOVE:
    mouseMove(lp);
    return 0;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
    mouseUp(msg, lp);
    return 0;
  case WM_CAPTURECHANGED:
    if (tracking_ && reinterpret_cast<HWND>(lp) != hwnd()) {
      tracking_ = false;
      setPressed(false);
    }
    return 0;
  case WM_TIMER:
    if (wp == kRepeatTimer) {
      timerTick();
      return 0;
    }
    break;
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT: {
    tk::PaintScope ps(hwnd());
    paint(ps.dc());
    return 0;
  }
  case WM_ENABLE:
    InvalidateRect(hwnd(), nullptr, FALSE);
    break;
  case WM_DESTROY:
    stopTimer();
    break;
  }
  return defaultProc(msg, wp, lp);
}

// Any mouse button: raise OnMouseDown; a left press also shows the button
// pressed and follows the pointer with the capture. The repeat timer starts
// for every button, but its ticks click only while the button shows pressed.
void TTimerSpeedButton::mouseDown(UINT msg) {
  if (OnMouseDown)
    OnMouseDown(*this, msg);
  if (msg == WM_LBUTTONDOWN && IsWindowEnabled(hwnd())) {
    tracking_ = true;
    SetCapture(hwnd());
    setPressed(true);
  }
  if (states_ & tbAllowTimer)
    startTimer(kFirstRepeatMs);
}

void TTimerSpeedButton::mouseMove(LPARAM lp) {
  if (tracking_)
    setPressed(pointInside(lp));
}

void TTimerSpeedButton::mouseUp(UINT msg, LPARAM lp) {
  if (msg == WM_LBUTTONUP && tracking_) {
    tracking_ = false;
    const bool over = pointInside(lp);
    ReleaseCapture();
    setPressed(false);
    if (over) {
      try {
        Click();
      } catch (...) {
        stopTimer();
        throw;
      }
    }
  }
  stopTimer();
}

void TTimerSpeedButton::timerTick() {
  startTimer(kNextRepeatMs);
  if (pressed_ && GetCapture() == hwnd()) {
    try {
      Click();
    } catch (...) {
      // A failing click must not fire again every 100 ms; the error goes on
      // to the error display through the window procedure's boundary.
      stopTimer();
      throw;
    }
  }
}

void TTimerSpeedButton::startTimer(UINT interval) {
  // SetTimer with the same id replaces the running timer and its interval.
  if (SetTimer(hwnd(), kRepeatTimer, interval, nullptr))
    timerEnabled_ = true;
}

void TTimerSpeedButton::stopTimer() noexcept {
  if (timerEnabled_ && hwnd())
    KillTimer(hwnd(), kRepeatTimer);
  timerEnabled_ = false;
}

void TTimerSpeedButton::setPressed(bool pressed) {
  if (pressed == pressed_)
    return;
  pressed_ = pressed;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

bool TTimerSpeedButton::pointInside(LPARAM lp) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  return PtInRect(&client, pt) != FALSE;
}

void TTimerSpeedButton::paint(HDC dc) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  RECT face = client;
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed_ ? DFCS_PUSHED : 0));
  RECT area = client;
  if (pressed_)
    OffsetRect(&area, 1, 1);
  drawGlyph(dc, area);
  if (states_ & tbFocusRect) {
    RECT mark = client;
    InflateRect(&mark, -3, -3);
    if (pressed_)
      OffsetRect(&mark, 1, 1);
    DrawFocusRect(dc, &mark);
  }
}

// Draws the glyph centred in `area`, its bottom-left pixel's colour transparent.
// Image 0 is the normal look; image 1, when present, the disabled one, and
// image 2 the pressed one. A disabled button without its own image shows the
// glyph's shape embossed in the system's highlight and shadow colours.
void TTimerSpeedButton::drawGlyph(HDC dc, const RECT& area) const {
  if (!glyph_)
    return;
  BITMAP bm{};
  if (!GetObjectW(glyph_.get(), sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    return;
  const int w = bm.bmWidth / numGlyphs_;
  const int h = bm.bmHeight;
  if (w <= 0)
    return;
  const bool enabled = IsWindowEnabled(hwnd()) != FALSE;
  int image = 0;
  if (!enabled && numGlyphs_ > 1)
    image = 1;
  else if (pressed_ && numGlyphs_ > 2)
    image = 2;
  const int x = area.left + (area.right - area.left - w) / 2;
  const int y = area.top + (area.bottom - area.top - h) / 2;

  BitmapDc source(dc, glyph_.get());
  const COLORREF transparent = GetPixel(source.get(), 0, h - 1);

  // Mask: 1 where the glyph is transparent, 0 where it draws.
  tk::UniqueBitmap maskBitmap(CreateBitmap(w, h, 1, 1, nullptr));
  BitmapDc mask(dc, maskBitmap.get());
  const COLORREF oldBk = SetBkColor(source.get(), transparent);
  BitBlt(mask.get(), 0, 0, w, h, source.get(), image * w, 0, SRCCOPY);
  SetBkColor(source.get(), oldBk);

  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldDcBk = SetBkColor(dc, RGB(255, 255, 255));
  if (!enabled && numGlyphs_ == 1) {
    tk::UniqueBrush light(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
    tk::UniqueBrush shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    {
      tk::SelectScope brush(dc, light.get());
      BitBlt(dc, x + 1, y + 1, w, h, mask.get(), 0, 0, kPaintBrushWhereSourceIsBlack);
    }
    tk::SelectScope brush(dc, shadow.get());
    BitBlt(dc, x, y, w, h, mask.get(), 0, 0, kPaintBrushWhereSourceIsBlack);
  } else {
    // The image with its transparent pixels turned black, ORed onto the
    // destination after the glyph's own pixels have been cut out of it.
    tk::UniqueBitmap imageBitmap(CreateCompatibleBitmap(dc, w, h));
    BitmapDc imageDc(dc, imageBitmap.get());
    BitBlt(imageDc.get(), 0, 0, w, h, source.get(), image * w, 0, SRCCOPY);
    SetTextColor(imageDc.get(), RGB(0, 0, 0));
    SetBkColor(imageDc.get(), RGB(255, 255, 255));
    BitBlt(imageDc.get(), 0, 0, w, h, mask.get(), 0, 0, kDestinationAndNotSource);
    BitBlt(dc, x, y, w, h, mask.get(), 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, imageDc.get(), 0, 0, SRCPAINT);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldDcBk);
}

} // namespace controls
