#include "controls/spin_edit.h"

#include "controls/ime.h"
#include "controls/portable/spin_value.h"
#include "controls/spin_button.h"

#include "toolkit/dpi.h"
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

// Whether dialog navigation would give Enter to an enabled default push button
// of the top-level window (it asks that window with DM_GETDEFID).
bool hasDefaultButton(HWND hwnd) {
  const HWND root = GetAncestor(hwnd, GA_ROOT);
  const LRESULT defId = SendMessageW(root, DM_GETDEFID, 0, 0);
  if (HIWORD(defId) != DC_HASDEFID)
    return false;
  const HWND button = GetDlgItem(root, LOWORD(defId));
  return button && IsWindowEnabled(button);
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
      SetWindowPos(hwnd(), nullptr, 0, 0, width, finalHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
  SetWindowPos(button_->hwnd(), nullptr, 0, 0, width, pair.bottom - pair.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

LRESULT TSpinEdit::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_CHAR:
  case WM_IME_CHAR: // an input method that is still on: filtered all the same
    if (!AcceptsChar(static_cast<wchar_t>(wp))) {
      beep_.sound(0);
      return 0;
    }
    return editCommand(WM_CHAR, wp, lp);
  case WM_IME_STARTCOMPOSITION:
  case WM_IME_ENDCOMPOSITION:
  case WM_IME_COMPOSITION:
    return composition(msg, wp, lp);
  case WM_KEYDOWN:
    if (wp == VK_UP)
      StepUp(this);
    else if (wp == VK_DOWN)
      StepDown(this);
    else if (wp == VK_ESCAPE)
      return 0; // a multi-line edit in dialog mode would close its parent
    return editCommand(msg, wp, lp);
  case WM_PASTE:
  case WM_CUT:
    if (!editorEnabled_ || readOnly_)
      return 0;
    return editCommand(msg, wp, lp);
  case WM_CLEAR:
  case WM_UNDO:
  case EM_UNDO:
    return editCommand(msg, wp, lp);
  case EM_SETREADONLY:
    readOnly_ = wp != 0;
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    pressingEdit_ = true;
    const LRESULT r = defaultProc(msg, wp, lp);
    pressingEdit_ = false;
    return r;
  }
  case WM_SETFOCUS:
    if (autoSelect_ && !pressingEdit_)
      SendMessageW(hwnd(), EM_SETSEL, 0, -1);
    break;
  case WM_KILLFOCUS: {
    const LRESULT r = defaultProc(msg, wp, lp);
    const int32_t value = Value();
    if (controls::applyRange(value, minValue_, maxValue_) != value)
      SetValue(value);
    return r;
  }
  case WM_SIZE: {
    const LRESULT r = defaultProc(msg, wp, lp);
    if (!creating_)
      onSize();
    return r;
  }
  case WM_SETFONT: {
    const LRESULT r = defaultProc(msg, wp, lp);
    if (creating_)
      return r; // create lays the control out once, after the font
    const int minimum = MinHeight();
    RECT bounds{};
    GetWindowRect(hwnd(), &bounds);
    if (autoSize_ && bounds.bottom - bounds.top != minimum)
      SetWindowPos(hwnd(), nullptr, 0, 0, bounds.right - bounds.left, minimum,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The edit resets its formatting rectangle with the font.
    onSize();
    return r;
  }
  case WM_GETDLGCODE:
    return dialogCode(wp, lp);
  case WM_NCPAINT:
    return paintFrame(wp);
  }
  return defaultProc(msg, wp, lp);
}

// An input method that is still on (one forced on the control): each character
// it commits is typed through the filter, on the text from before the
// composition, which a cancelled one leaves as it was.
LRESULT TSpinEdit::composition(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_IME_STARTCOMPOSITION) {
    composing_ = std::make_unique<EditSnapshot>(EditSnapshot::of(hwnd()));
    return defaultProc(msg, wp, lp);
  }
  const std::wstring committed = msg == WM_IME_COMPOSITION ? committedText(hwnd(), lp) : L"";
  if (composing_ && (msg == WM_IME_ENDCOMPOSITION || !committed.empty()))
    std::exchange(composing_, nullptr)->restore(hwnd());
  if (committed.empty())
    return defaultProc(msg, wp, lp);
  for (wchar_t ch : committed)
    handleMessage(WM_CHAR, ch, 1);
  lp = compositionOnly(lp);
  if (!lp)
    return 0;
  composing_ = std::make_unique<EditSnapshot>(EditSnapshot::of(hwnd())); // the next one
  return defaultProc(msg, wp, lp);
}

// Runs the edit's own handling and raises OnChange when the text changed.
LRESULT TSpinEdit::editCommand(UINT msg, WPARAM wp, LPARAM lp) {
  if (!OnChange || inEditCommand_)
    return defaultProc(msg, wp, lp);
  const std::wstring before = Text();
  inEditCommand_ = true;
  const LRESULT r = defaultProc(msg, wp, lp);
  inEditCommand_ = false;
  if (Text() != before)
    OnChange(*this);
  return r;
}

// A multi-line edit asks for every key, Tab included; the spin edit leaves Tab
// and Escape to dialog navigation. Enter goes to the window's default push
// button when there is an enabled one; otherwise the spin edit asks for it, so
// that it arrives as a character (which the filter rejects with a beep).
LRESULT TSpinEdit::dialogCode(WPARAM wp, LPARAM lp) {
  LRESULT code = defaultProc(WM_GETDLGCODE, wp, lp);
  code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  if (const MSG* m = reinterpret_cast<const MSG*>(lp)) {
    if ((m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_RETURN &&
        !hasDefaultButton(hwnd()))
      code |= DLGC_WANTMESSAGE;
  }
  return code;
}

// A themed edit draws its frame through a window DC, which does not clip
// children, and fills the whole window with the theme's background (it does
// so at every focus change and hover), over the pair that lies inside. The
// frame is painted with the region the system gave, passed on untouched: what
// becomes of a region handed to that painting (a themed edit gives it to
// GetDCEx, which takes it; the default painting keeps it) is not ours to
// know, so no region of ours goes there. The pair is drawn again at once
// wherever the painting may have covered it.
LRESULT TSpinEdit::paintFrame(WPARAM region) {
  bool coversPair = false;
  if (button_ && button_->hwnd() && IsWindowVisible(button_->hwnd())) {
    RECT pair{};
    GetWindowRect(button_->hwnd(), &pair); // screen coordinates, like the region
    // The region is read before the painting, which may consume it.
    coversPair = region == 1 || RectInRegion(reinterpret_cast<HRGN>(region), &pair);
  }
  const LRESULT r = defaultProc(WM_NCPAINT, region, 0);
  if (coversPair)
    RedrawWindow(button_->hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return r;
}

void TSpinEdit::onSize() {
  const int minimum = MinHeight();
  RECT bounds{};
  GetWindowRect(hwnd(), &bounds);
  if (bounds.bottom - bounds.top < minimum) {
    // The new size change comes back here and places the pair.
    SetWindowPos(hwnd(), nullptr, 0, 0, bounds.right - bounds.left, minimum,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
