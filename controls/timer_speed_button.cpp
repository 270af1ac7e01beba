#include "controls/timer_speed_button.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace controls {
namespace {

const UINT kFirstRepeatMs = 400;
const UINT kNextRepeatMs = 100;

// Raster operation: where the monochrome source is 0, the brush; else the destination.
const DWORD kPaintBrushWhereSourceIsBlack = 0x00B8074A;

// The mask of a w x h image whose bottom-left pixel's colour is transparent,
// as monochrome bitmap rows: 1 (white) where the image is transparent, 0
// where it draws. The image's transparent pixels become black, which ORs
// nothing onto the destination, and its black the button-text colour.
std::vector<WORD> cutOut(DWORD* pixels, int w, int h) {
  const DWORD transparent = pixels[static_cast<std::ptrdiff_t>(h - 1) * w] & 0xFFFFFF;
  const int wordsPerRow = (w + 15) / 16;
  std::vector<WORD> maskRows(static_cast<size_t>(wordsPerRow) * h, 0);
  const DWORD text = tk::dibColour(GetSysColor(COLOR_BTNTEXT));
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) {
      const int i = row * w + col;
      const DWORD p = pixels[i] & 0xFFFFFF;
      if (p == transparent) {
        // Bits run from the high bit of each byte; the words are byte pairs.
        auto* bytes = reinterpret_cast<BYTE*>(&maskRows[static_cast<size_t>(row) * wordsPerRow]);
        bytes[col / 8] |= static_cast<BYTE>(0x80 >> (col % 8));
      }
      pixels[i] = p == transparent ? 0 : p == 0 ? text : p;
    }
  return maskRows;
}

// The shape of a mask embossed at x, y in the system's highlight and shadow
// colours.
void emboss(HDC dc, int x, int y, int w, int h, HDC mask) {
  tk::UniqueBrush light(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
  tk::UniqueBrush shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
  {
    tk::SelectScope brush(dc, light.get());
    BitBlt(dc, x + 1, y + 1, w, h, mask, 0, 0, kPaintBrushWhereSourceIsBlack);
  }
  tk::SelectScope brush(dc, shadow.get());
  BitBlt(dc, x, y, w, h, mask, 0, 0, kPaintBrushWhereSourceIsBlack);
}

} // namespace

TTimerSpeedButton::~TTimerSpeedButton() {
  stopTimer();
}

void TTimerSpeedButton::attach(HWND owner, UINT_PTR timerId) noexcept {
  stopTimer();
  owner_ = owner;
  timerId_ = timerId;
  tracking_ = false;
  pressed_ = false;
}

void TTimerSpeedButton::SetBoundsRect(const RECT& bounds) {
  if (EqualRect(&bounds, &bounds_))
    return;
  invalidate();
  bounds_ = bounds;
  invalidate();
}

bool TTimerSpeedButton::Contains(POINT client) const noexcept {
  return PtInRect(&bounds_, client) != FALSE;
}

void TTimerSpeedButton::SetTimeBtnStates(unsigned states) {
  if (states == states_)
    return;
  states_ = states;
  invalidate();
}

void TTimerSpeedButton::SetGlyph(tk::UniqueBitmap glyph) {
  glyph_ = std::move(glyph);
  invalidate();
}

void TTimerSpeedButton::SetNumGlyphs(int count) {
  numGlyphs_ = std::clamp(count, 1, 4);
  invalidate();
}

void TTimerSpeedButton::Click() {
  if (OnClick)
    OnClick(*this);
}

// Any mouse button: raise OnMouseDown; a left press also shows the button
// pressed and follows the pointer with the owner's capture. The repeat timer
// starts for every button, but its ticks click only while the button shows
// pressed under a left press.
void TTimerSpeedButton::mouseDown(UINT msg) {
  if (OnMouseDown)
    OnMouseDown(*this, msg);
  if (msg == WM_LBUTTONDOWN && enabled()) {
    tracking_ = true;
    SetCapture(owner_);
    setPressed(true);
  }
  if (states_ & tbAllowTimer)
    startTimer(kFirstRepeatMs);
}

void TTimerSpeedButton::mouseMove(POINT client) {
  if (tracking_)
    setPressed(Contains(client));
}

void TTimerSpeedButton::mouseUp(UINT msg, POINT client) {
  if (msg == WM_LBUTTONUP && tracking_) {
    tracking_ = false;
    const bool over = Contains(client);
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

void TTimerSpeedButton::captureLost() noexcept {
  if (!tracking_)
    return;
  tracking_ = false;
  setPressed(false);
  stopTimer();
}

void TTimerSpeedButton::timerTick() {
  startTimer(kNextRepeatMs);
  if (pressed_ && tracking_ && GetCapture() == owner_) {
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
  if (owner_ && SetTimer(owner_, timerId_, interval, nullptr))
    timerEnabled_ = true;
}

void TTimerSpeedButton::stopTimer() noexcept {
  if (timerEnabled_ && owner_ && IsWindow(owner_))
    KillTimer(owner_, timerId_);
  timerEnabled_ = false;
}

void TTimerSpeedButton::setPressed(bool pressed) {
  if (pressed == pressed_)
    return;
  pressed_ = pressed;
  invalidate();
}

void TTimerSpeedButton::invalidate() const noexcept {
  if (owner_ && !IsRectEmpty(&bounds_))
    InvalidateRect(owner_, &bounds_, FALSE);
}

bool TTimerSpeedButton::enabled() const noexcept {
  return owner_ && IsWindowEnabled(owner_);
}

void TTimerSpeedButton::paint(HDC dc) const {
  if (IsRectEmpty(&bounds_))
    return;
  RECT face = bounds_;
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed_ ? DFCS_PUSHED : 0));
  RECT area = bounds_;
  if (pressed_)
    OffsetRect(&area, 1, 1);
  drawGlyph(dc, area);
  if (states_ & tbFocusRect) {
    RECT mark = bounds_;
    InflateRect(&mark, -3, -3);
    if (pressed_)
      OffsetRect(&mark, 1, 1);
    // The focus mark inverts what lies below: drawn in the system's colours
    // whatever the scheme.
    const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const COLORREF oldBk = SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    DrawFocusRect(dc, &mark);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
  }
}

// Draws the glyph centred in `area`, its bottom-left pixel's colour transparent
// and its black in the button-text colour (black in the standard scheme, so
// the arrows stay visible on a dark face in a high-contrast one). Image 0 is
// the normal look; image 1, when present, the disabled one, and image 2 the
// pressed one. A disabled button without its own image shows the glyph's
// shape embossed in the system's highlight and shadow colours.
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
  const bool isEnabled = enabled();
  int image = 0;
  if (!isEnabled && numGlyphs_ > 1)
    image = 1;
  else if (pressed_ && numGlyphs_ > 2)
    image = 2;
  const int x = area.left + (area.right - area.left - w) / 2;
  const int y = area.top + (area.bottom - area.top - h) / 2;

  // The glyph's own pixels of the image, whatever the bitmap's format.
  DWORD* pixels = nullptr;
  tk::UniqueBitmap imageBitmap = tk::dibSection(w, h, &pixels);
  if (!pixels)
    return;
  {
    tk::BitmapDc source(dc, glyph_.get());
    tk::BitmapDc target(dc, imageBitmap.get());
    BitBlt(target.get(), 0, 0, w, h, source.get(), image * w, 0, SRCCOPY);
  }
  GdiFlush();
  const std::vector<WORD> maskRows = cutOut(pixels, w, h);
  tk::UniqueBitmap maskBitmap(CreateBitmap(w, h, 1, 1, maskRows.data()));
  tk::BitmapDc mask(dc, maskBitmap.get());
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldDcBk = SetBkColor(dc, RGB(255, 255, 255));
  if (!isEnabled && numGlyphs_ == 1) {
    emboss(dc, x, y, w, h, mask.get());
  } else {
    // The glyph's pixels cut out of the destination, then its colours ORed in.
    tk::BitmapDc imageDc(dc, imageBitmap.get());
    BitBlt(dc, x, y, w, h, mask.get(), 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, imageDc.get(), 0, 0, SRCPAINT);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldDcBk);
}

} // namespace controls
