#include "controls/spin_button.h"

#include "toolkit/dpi.h"

#include <algorithm>
#include <windowsx.h>

namespace controls {
namespace {

const int kMinimumWidth = 15;
const UINT_PTR kUpTimer = 1, kDownTimer = 2;

const COLORREF kGlyphBackground = RGB(128, 128, 0); // the glyphs' transparent olive

// The arrow drawn for `dpi`: rows of 1, 3, 5, ... black pixels on olive, as
// many rows as the 96-dpi arrow's 4 scaled, with a row of olive above and
// below. Whole pixels at every size keep it as crisp as the 96-dpi one.
tk::UniqueBitmap arrowAtDpi(bool up, UINT dpi) {
  const int rows = std::max(1, tk::scale(4, dpi));
  const int width = 2 * rows + 1, height = rows + 2;
  DWORD* pixels = nullptr;
  tk::UniqueBitmap bitmap = tk::dibSection(width, height, &pixels);
  if (!pixels)
    return tk::UniqueBitmap();
  const DWORD olive = tk::dibColour(kGlyphBackground);
  std::fill(pixels, pixels + static_cast<std::ptrdiff_t>(width) * height, olive);
  for (int row = 0; row < rows; ++row) {
    const int y = up ? 1 + row : height - 2 - row;
    for (int x = rows - row; x <= rows + row; ++x)
      pixels[y * width + x] = 0; // black
  }
  GdiFlush();
  return bitmap;
}

// The built-in arrow: the program's bitmap resource at 96 dpi, drawn anew at
// any other DPI.
tk::UniqueBitmap builtInGlyph(bool up, UINT dpi) {
  if (dpi != 96) {
    if (tk::UniqueBitmap drawn = arrowAtDpi(up, dpi))
      return drawn;
  }
  return tk::UniqueBitmap(
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), up ? L"SPINUP" : L"SPINDOWN",
                                      IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

// Whether the window and every window above it are visible and enabled.
bool canFocus(HWND hwnd) {
  if (!IsWindowVisible(hwnd))
    return false;
  for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
    if (!IsWindowEnabled(h))
      return false;
    if (!(GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
      break;
  }
  return true;
}

bool isTabStop(HWND hwnd) {
  return (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) != 0;
}

// A copy of `glyph` for a button, and the number of images it holds when its
// width is a whole multiple of its height (more than four counts as one).
void assignGlyph(TTimerSpeedButton& button, HBITMAP glyph) {
  tk::UniqueBitmap copy(static_cast<HBITMAP>(CopyImage(glyph, IMAGE_BITMAP, 0, 0, 0)));
  BITMAP bm{};
  if (copy && GetObjectW(copy.get(), sizeof bm, &bm) && bm.bmHeight > 0 &&
      bm.bmWidth % bm.bmHeight == 0) {
    const int count = bm.bmWidth / bm.bmHeight;
    button.SetNumGlyphs(count > 4 ? 1 : count);
  }
  button.SetGlyph(std::move(copy));
}

} // namespace

TSpinButton::TSpinButton() {
  up_.SetTimeBtnStates(TTimerSpeedButton::tbAllowTimer);
  down_.SetTimeBtnStates(TTimerSpeedButton::tbAllowTimer);
  up_.OnClick = [this](TTimerSpeedButton& b) { buttonClick(b); };
  down_.OnClick = [this](TTimerSpeedButton& b) { buttonClick(b); };
  up_.OnMouseDown = [this](TTimerSpeedButton& b, UINT m) { buttonMouseDown(b, m); };
  down_.OnMouseDown = [this](TTimerSpeedButton& b, UINT m) { buttonMouseDown(b, m); };
  up_.SetGlyph(builtInGlyph(true, dpi_));
  down_.SetGlyph(builtInGlyph(false, dpi_));
}

TSpinButton::~TSpinButton() {
  // The buttons' timers live on our window: destroy it while the whole object
  // still stands.
  destroy();
}

void TSpinButton::create(HWND parent, int x, int y, int width, int height, int id, bool tabStop) {
  tk::CreateArgs args = tk::CreateArgs::child(parent, id, x, y, width, height);
  args.style |= WS_VISIBLE | (tabStop ? WS_TABSTOP : 0);
  // The two buttons cover the whole pair: no background to erase.
  createOwn(L"SheetloomSpinButton", args, 0, nullptr);
  up_.attach(hwnd(), kUpTimer);
  down_.attach(hwnd(), kDownTimer);
  SetDpi(tk::windowDpi(hwnd()));
  onSize();
}

void TSpinButton::SetBounds(int x, int y, int width, int height) {
  width = std::max(width, minimumWidth());
  SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  layoutButtons(width, height);
}

void TSpinButton::SetDpi(UINT dpi) {
  if (dpi == dpi_)
    return;
  dpi_ = dpi;
  if (upBuiltIn_)
    up_.SetGlyph(builtInGlyph(true, dpi));
  if (downBuiltIn_)
    down_.SetGlyph(builtInGlyph(false, dpi));
  if (hwnd())
    onSize(); // the minimum width follows the DPI
}

void TSpinButton::SetUpGlyph(HBITMAP glyph) {
  setGlyph(up_, glyph);
}
void TSpinButton::SetDownGlyph(HBITMAP glyph) {
  setGlyph(down_, glyph);
}

void TSpinButton::setGlyph(TTimerSpeedButton& button, HBITMAP glyph) {
  const bool up = &button == &up_;
  (up ? upBuiltIn_ : downBuiltIn_) = glyph == nullptr;
  if (glyph) {
    assignGlyph(button, glyph);
    return;
  }
  button.SetGlyph(builtInGlyph(up, dpi_));
  button.SetNumGlyphs(1);
}

void TSpinButton::SetFocusControl(HWND control) {
  if (control == focusControl_.hwnd())
    return;
  focusControl_.remove();
  if (control)
    (void)focusControl_.install(control); // refused: no focus control
}

int TSpinButton::minimumWidth() const {
  return tk::scale(kMinimumWidth, dpi_);
}

TTimerSpeedButton* TSpinButton::ButtonAt(POINT client) noexcept {
  if (up_.Contains(client))
    return &up_;
  if (down_.Contains(client))
    return &down_;
  return nullptr;
}

TTimerSpeedButton* TSpinButton::mouseTarget(POINT client) noexcept {
  if (up_.Tracking())
    return &up_;
  if (down_.Tracking())
    return &down_;
  return ButtonAt(client);
}

// The down button first: the up button is drawn over the row they share.
void TSpinButton::paint(HDC dc) {
  down_.paint(dc);
  up_.paint(dc);
}

LRESULT TSpinButton::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_MOUSEMOVE:
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
    onMouse(msg, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    return 0;
  case WM_CAPTURECHANGED:
    if (reinterpret_cast<HWND>(lp) != hwnd())
      endPresses();
    return 0;
  case WM_CANCELMODE:
    // A modal window is about to open: no press may outlive it.
    endPresses();
    if (GetCapture() == hwnd())
      ReleaseCapture();
    break;
  case WM_TIMER:
    if (wp == kUpTimer || wp == kDownTimer) {
      (wp == kUpTimer ? up_ : down_).timerTick();
      return 0;
    }
    break;
  case WM_PAINT: {
    tk::PaintScope ps(hwnd());
    paint(ps.dc());
    return 0;
  }
  case WM_ENABLE:
  case WM_SYSCOLORCHANGE:
  case WM_THEMECHANGED:
    InvalidateRect(hwnd(), nullptr, FALSE);
    break;
  case WM_DESTROY:
    up_.stopTimer();
    down_.stopTimer();
    break;
  case WM_SIZE: {
    LRESULT r = defaultProc(msg, wp, lp);
    onSize();
    return r;
  }
  case WM_ERASEBKGND:
    return 1;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    setFocusMark(msg == WM_SETFOCUS);
    break;
  case WM_GETDLGCODE:
    return DLGC_WANTARROWS;
  case WM_KEYDOWN:
    if (onKeyDown(wp))
      return 0;
    break;
  }
  return defaultProc(msg, wp, lp);
}

// The class takes no double clicks (no CS_DBLCLKS): a second press is a press.
void TSpinButton::onMouse(UINT msg, POINT at) {
  TTimerSpeedButton* b = mouseTarget(at);
  if (!b)
    return;
  switch (msg) {
  case WM_MOUSEMOVE:
    b->mouseMove(at);
    break;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
    b->mouseUp(msg, at);
    break;
  default:
    b->mouseDown(msg);
    break;
  }
}

void TSpinButton::endPresses() noexcept {
  up_.captureLost();
  down_.captureLost();
}

bool TSpinButton::onKeyDown(WPARAM key) {
  if (key == VK_SPACE) {
    current_->Click();
    return true;
  }
  if (key != VK_UP && key != VK_DOWN)
    return false;
  TTimerSpeedButton& button = key == VK_UP ? up_ : down_;
  setCurrent(button);
  button.Click();
  return true;
}

void TSpinButton::onSize() {
  if (!hwnd())
    return;
  RECT r{};
  GetWindowRect(hwnd(), &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width < minimumWidth()) {
    // Sets the bounds again with the raised width; the WM_SIZE it causes lays
    // out the buttons.
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
    SetBounds(r.left, r.top, width, height);
    return;
  }
  layoutButtons(width, height);
}

// The up button takes the upper half, the down button the rest; they share
// one row of pixels.
void TSpinButton::layoutButtons(int width, int height) {
  if (!hwnd())
    return;
  width = std::max(width, minimumWidth());
  const int upHeight = height / 2;
  up_.SetBoundsRect(RECT{0, 0, width, upHeight});
  down_.SetBoundsRect(RECT{0, upHeight - 1, width, height});
}

void TSpinButton::buttonClick(TTimerSpeedButton& button) {
  if (&button == &up_) {
    if (OnUpClick)
      OnUpClick(*this);
  } else if (OnDownClick) {
    OnDownClick(*this);
  }
}

void TSpinButton::buttonMouseDown(TTimerSpeedButton& button, UINT message) {
  if (message != WM_LBUTTONDOWN)
    return;
  setCurrent(button);
  const HWND focus = GetFocus();
  const HWND control = focusControl_.hwnd();
  if (control && isTabStop(control) && canFocus(control) && focus != control)
    SetFocus(control);
  else if (isTabStop(hwnd()) && focus != hwnd() && canFocus(hwnd()))
    SetFocus(hwnd());
}

void TSpinButton::setCurrent(TTimerSpeedButton& button) {
  if (&button == current_ || !isTabStop(hwnd()) || !canFocus(hwnd()))
    return;
  current_->SetTimeBtnStates(current_->TimeBtnStates() & ~TTimerSpeedButton::tbFocusRect);
  current_ = &button;
  if (GetFocus() == hwnd()) {
    setFocusMark(true);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

void TSpinButton::setFocusMark(bool on) {
  const unsigned states = current_->TimeBtnStates();
  current_->SetTimeBtnStates(on ? states | TTimerSpeedButton::tbFocusRect
                                : states & ~TTimerSpeedButton::tbFocusRect);
}

} // namespace controls
