#include "controls/spin_edit.h"

#include "controls/ime.h"
#include "controls/portable/spin_value.h"
#include "controls/spin_button.h"

#include "toolkit/dpi.h"
#include "toolkit/placement.h"
#include "toolkit/text.h"

#include <imm.h>

#include <algorithm>
#include <utility>

namespace controls {
namespace {

const int kButtonWidth = 15;

// The user's decimal separator, read once: typing it is accepted like a digit.
wchar_t decimalSeparator() {
  static const wchar_t separator = [] {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(GetThreadLocale(), LOCALE_SDECIMAL, text, 8) > 1 && text[0])
      return text[0];
    return L'.';
  }();
  return separator;
}

int textHeight(HDC dc) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return tm.tmHeight;
}

} // namespace

TSpinEdit::TSpinEdit(const Beep& beep) : beep_(beep), button_(std::make_unique<TSpinButton>()) {
  // Virtual calls, so that a derived class's steps serve the buttons too.
  button_->OnUpClick = [this](TSpinButton& sender) { StepUp(&sender); };
  button_->OnDownClick = [this](TSpinButton& sender) { StepDown(&sender); };
}

TSpinEdit::~TSpinEdit() {
  // Drop the pair first, so that size handling during the teardown no longer
  // reaches it; its window goes down with ours, the object at the end here.
  std::unique_ptr<TSpinButton> pair = std::move(button_);
  destroy();
}

void TSpinEdit::create(HWND parent, int id, int x, int y, int width, int height, HFONT font) {
  tk::CreateArgs args = tk::CreateArgs::child(parent, id, x, y, width, height);
  // A multi-line edit, because only those honour a formatting rectangle
  // (which keeps the text off the buttons); clipping keeps it off them too.
  // One line high, such an edit refuses a paste holding a line break unless
  // it may scroll vertically by itself.
  args.style |= WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_MULTILINE |
                WS_CLIPCHILDREN | (readOnly_ ? ES_READONLY : 0) | (ctl3D_ ? 0 : WS_BORDER);
  args.exStyle = ctl3D_ ? WS_EX_CLIENTEDGE : 0;
  args.text = pendingText_.c_str();
  createControl(L"EDIT", args);
  // Numbers are typed without the input method, as in the platform's own
  // numeric up-down controls: in hiragana mode the keys give plain digits.
  ImmAssociateContextEx(hwnd(), nullptr, 0);
  pendingText_.clear();
  dpi_ = tk::windowDpi(hwnd());
  // The font and the height first, then the pair at its place and the text
  // area: one layout, where each step on its own (the font, the height, the
  // pair) laid the control out again, each time a round of position messages.
  const int pairWidth = tk::scale(kButtonWidth, dpi_);
  int finalHeight = height;
  {
    creating_ = true;
    if (font)
      SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const int minimum = MinHeight();
    finalHeight = font && autoSize_ ? minimum : std::max(height, minimum);
    if (finalHeight != height)
      tk::resizeWindow(hwnd(), width, finalHeight);
    creating_ = false;
  }
  const RECT pair = pairPlace(width, finalHeight, pairWidth);
  button_->create(hwnd(), pair.left, pair.top, pair.right - pair.left, pair.bottom - pair.top);
  button_->SetDpi(dpi_);
  button_->SetFocusControl(hwnd());
  RECT made{};
  GetWindowRect(button_->hwnd(), &made);
  if (made.right - made.left != pairWidth)
    placeButton(); // the pair keeps a minimum width of its own
  setTextArea();
}

void TSpinEdit::SetDpi(UINT dpi) {
  if (dpi == dpi_ || dpi == 0)
    return;
  const UINT old = dpi_;
  dpi_ = dpi;
  if (!button_ || !button_->hwnd())
    return;
  RECT pair{};
  GetWindowRect(button_->hwnd(), &pair);
  const int width = MulDiv(pair.right - pair.left, static_cast<int>(dpi), static_cast<int>(old));
  button_->SetDpi(dpi);
  tk::resizeWindow(button_->hwnd(), width, pair.bottom - pair.top);
  onSize();
}

void TSpinEdit::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (hwnd())
    SendMessageW(hwnd(), EM_SETREADONLY, readOnly, 0);
}

void TSpinEdit::SetCtl3D(bool ctl3D) {
  if (ctl3D == ctl3D_)
    return;
  ctl3D_ = ctl3D;
  if (!hwnd())
    return;
  const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  SetWindowLongPtrW(hwnd(), GWL_STYLE, ctl3D ? style & ~WS_BORDER : style | WS_BORDER);
  SetWindowLongPtrW(hwnd(), GWL_EXSTYLE,
                    ctl3D ? exStyle | WS_EX_CLIENTEDGE : exStyle & ~WS_EX_CLIENTEDGE);
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  onSize();
}

int32_t TSpinEdit::Value() const {
  return controls::parseSpinText(Text()).value_or(minValue_);
}

void TSpinEdit::SetValue(int32_t value) {
  SetText(controls::formatSpinValue(controls::applyRange(value, minValue_, maxValue_)));
}

std::wstring TSpinEdit::Text() const {
  return hwnd() ? tk::windowText(hwnd()) : pendingText_;
}

void TSpinEdit::SetText(std::wstring_view text) {
  if (Text() == text)
    return;
  if (hwnd())
    tk::setWindowText(hwnd(), text);
  else
    pendingText_ = std::wstring(text);
  if (OnChange)
    OnChange(*this);
}

void TSpinEdit::SetFont(HFONT font) {
  if (hwnd())
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// Text height F of the control's font, S of the screen's default font, both on
// a screen DC: F + min(S, F) / 4 + 4 borders + 2. The control's font is made
// for the DPI it is shown at already; the screen's font and the border are
// taken at that DPI too.
int TSpinEdit::MinHeight() const {
  tk::WindowDc screen(nullptr);
  const int systemHeight =
      MulDiv(textHeight(screen.get()), static_cast<int>(dpi_), static_cast<int>(tk::screenDpi()));
  int fontHeight = systemHeight;
  if (HFONT font =
          hwnd() ? reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)) : nullptr) {
    tk::SelectScope select(screen.get(), font);
    fontHeight = textHeight(screen.get());
  }
  return fontHeight + std::min(systemHeight, fontHeight) / 4 +
         4 * tk::systemMetric(SM_CYBORDER, dpi_) + 2;
}

bool TSpinEdit::AcceptsChar(wchar_t ch) {
  return controls::acceptsSpinChar(ch, editorEnabled_, decimalSeparator());
}

void TSpinEdit::StepUp(tk::Window*) {
  step(+1);
}
void TSpinEdit::StepDown(tk::Window*) {
  step(-1);
}

void TSpinEdit::step(int32_t direction) {
  if (readOnly_) {
    beep_.sound(0);
    return;
  }
  SetValue(controls::stepValue(Value(), increment_, direction > 0));
}

void TSpinEdit::onSize() {
  const int minimum = MinHeight();
  RECT bounds{};
  GetWindowRect(hwnd(), &bounds);
  if (bounds.bottom - bounds.top < minimum) {
    // The new size change comes back here and places the pair.
    tk::resizeWindow(hwnd(), bounds.right - bounds.left, minimum);
    return;
  }
  if (button_ && button_->hwnd()) {
    placeButton();
    setTextArea();
  }
}

void TSpinEdit::placeButton() {
  RECT bounds{}, pair{};
  GetWindowRect(hwnd(), &bounds);
  GetWindowRect(button_->hwnd(), &pair);
  const RECT place =
      pairPlace(bounds.right - bounds.left, bounds.bottom - bounds.top, pair.right - pair.left);
  button_->SetBounds(place.left, place.top, place.right - place.left, place.bottom - place.top);
}

// In client coordinates, from the outer size W x H and the pair's width P:
// inside a 3-D border (2 pixels each side) the pair stands 1 pixel off the
// right and bottom client edges; inside a flat border it starts at row 1.
RECT TSpinEdit::pairPlace(int w, int h, int p) const {
  if (ctl3D_)
    return {w - p - 5, 0, w - 5, h - 5};
  return {w - p, 1, w, h - 2};
}

void TSpinEdit::setTextArea() {
  RECT client{}, pair{};
  GetClientRect(hwnd(), &client);
  GetWindowRect(button_->hwnd(), &pair);
  RECT area{0, 0, client.right - (pair.right - pair.left) - 2, client.bottom + 1};
  SendMessageW(hwnd(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&area));
}

} // namespace controls
