// The spin edit's window messages: typing through the filter, the arrow
// keys, the clipboard, the input method, the focus, dialog navigation and the
// frame painted around the button pair. Creation, the properties and the
// layout are in spin_edit.cpp.
#include "controls/spin_edit.h"

#include "controls/beep.h"
#include "controls/ime.h"
#include "controls/portable/spin_value.h"
#include "controls/spin_button.h"

#include "toolkit/placement.h"

#include <utility>

namespace controls {
namespace {

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

} // namespace

LRESULT TSpinEdit::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_CHAR:
  case WM_IME_CHAR: // an input method that is still on: filtered all the same
    return typed(wp, lp);
  case WM_IME_STARTCOMPOSITION:
  case WM_IME_ENDCOMPOSITION:
  case WM_IME_COMPOSITION:
    return composition(msg, wp, lp);
  case WM_KEYDOWN:
    return keyDown(wp, lp);
  case WM_PASTE:
  case WM_CUT:
    return editorEnabled_ && !readOnly_ ? editCommand(msg, wp, lp) : 0;
  case WM_CLEAR:
  case WM_UNDO:
  case EM_UNDO:
    return editCommand(msg, wp, lp);
  case EM_SETREADONLY:
    readOnly_ = wp != 0;
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    return pressed(msg, wp, lp);
  case WM_SETFOCUS:
    if (autoSelect_ && !pressingEdit_)
      SendMessageW(hwnd(), EM_SETSEL, 0, -1);
    break;
  case WM_KILLFOCUS:
    return focusLost(wp, lp);
  case WM_SIZE:
    return resized(wp, lp);
  case WM_SETFONT:
    return fontSet(wp, lp);
  case WM_GETDLGCODE:
    return dialogCode(wp, lp);
  case WM_NCPAINT:
    return paintFrame(wp);
  }
  return defaultProc(msg, wp, lp);
}

LRESULT TSpinEdit::typed(WPARAM wp, LPARAM lp) {
  if (AcceptsChar(static_cast<wchar_t>(wp)))
    return editCommand(WM_CHAR, wp, lp);
  beep_.sound(0);
  return 0;
}

LRESULT TSpinEdit::keyDown(WPARAM wp, LPARAM lp) {
  if (wp == VK_UP)
    StepUp(this);
  else if (wp == VK_DOWN)
    StepDown(this);
  else if (wp == VK_ESCAPE)
    return 0; // a multi-line edit in dialog mode would close its parent
  return editCommand(WM_KEYDOWN, wp, lp);
}

// A press on the edit gives it the focus without selecting the whole text.
LRESULT TSpinEdit::pressed(UINT msg, WPARAM wp, LPARAM lp) {
  pressingEdit_ = true;
  const LRESULT r = defaultProc(msg, wp, lp);
  pressingEdit_ = false;
  return r;
}

// Leaving the control brings a value outside the range into it.
LRESULT TSpinEdit::focusLost(WPARAM wp, LPARAM lp) {
  const LRESULT r = defaultProc(WM_KILLFOCUS, wp, lp);
  const int32_t value = Value();
  if (controls::applyRange(value, minValue_, maxValue_) != value)
    SetValue(value);
  return r;
}

LRESULT TSpinEdit::resized(WPARAM wp, LPARAM lp) {
  const LRESULT r = defaultProc(WM_SIZE, wp, lp);
  if (!creating_)
    onSize();
  return r;
}

LRESULT TSpinEdit::fontSet(WPARAM wp, LPARAM lp) {
  const LRESULT r = defaultProc(WM_SETFONT, wp, lp);
  if (creating_)
    return r; // create lays the control out once, after the font
  const int minimum = MinHeight();
  RECT bounds{};
  GetWindowRect(hwnd(), &bounds);
  if (autoSize_ && bounds.bottom - bounds.top != minimum)
    tk::resizeWindow(hwnd(), bounds.right - bounds.left, minimum);
  // The edit resets its formatting rectangle with the font.
  onSize();
  return r;
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

} // namespace controls
