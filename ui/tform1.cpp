#include "ui/tform1.h"

#include "controls/completion_combo.h"
#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/placement.h"
#include "toolkit/text.h"
#include "ui/form_editors.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

namespace ui {
namespace {

// Single fixed frame: no WS_THICKFRAME, so the frame cannot be dragged to
// another size, while the window can still be maximised.
const DWORD FormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
const DWORD FormExStyle = 0;

bool ctrlDown() {
  return GetKeyState(VK_CONTROL) < 0;
}
bool shiftDown() {
  return GetKeyState(VK_SHIFT) < 0;
}

} // namespace

TForm1::TForm1() = default;

TForm1::~TForm1() {
  // The controls' objects must still be whole while the window tree goes.
  destroy();
}

SIZE TForm1::clientSizeFor(UINT dpi) {
  return {tk::scale(FormClientWidth, dpi), tk::scale(FormClientHeight, dpi)};
}

RECT TForm1::windowRectFor(UINT dpi, int left, int top) const {
  // The inner border lies between the frame and the client area.
  const SIZE client = clientSizeFor(dpi);
  const int border = tk::scale(FormInnerBorder, dpi);
  RECT r{0, 0, client.cx + 2 * border, client.cy + 2 * border};
  tk::adjustWindowRect(r, FormStyle, FormExStyle, dpi);
  OffsetRect(&r, left - r.left, top - r.top);
  return r;
}

void TForm1::create(HWND owner, int showCommand) {
  screenDpi_ = tk::screenDpi();
  dpi_ = screenDpi_;
  const std::wstring caption = tk::widen(FormCaption);
  tk::CreateArgs args;
  args.exStyle = FormExStyle;
  args.style = FormStyle;
  args.text = caption.c_str();
  args.x = tk::scale(FormLeft, screenDpi_);
  args.y = tk::scale(FormTop, screenDpi_);
  args.parent = owner;
  const RECT first = windowRectFor(screenDpi_, args.x, args.y);
  args.width = first.right - first.left;
  args.height = first.bottom - first.top;
  createOwn(L"TForm1", args);

  // The monitor the window landed on may have another DPI than the screen's.
  dpi_ = tk::windowDpi(hwnd());
  if (dpi_ != screenDpi_) {
    tk::moveWindow(hwnd(), windowRectFor(dpi_, args.x, args.y));
  }
  // The designed client area whatever frame the window really got, so that
  // the memo docked at the bottom never runs over the buttons above it.
  tk::fitClientSize(hwnd(), clientSizeFor(dpi_));
  fonts_ = makeWindowFonts(dpi_);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.controls.get()), FALSE);
  controls_.build(hwnd(), dpi_, fonts_, [this](const ControlDescription& row) {
    run(row.handler, controls_.hwnd(row.id));
  });

  // The font dialog starts with the window's face, 12 pixels, Shift_JIS, no
  // style; FormCreate then makes it black and 12 points.
  fontDialog_.font =
      windowLogFont(tk::widen(WindowFaces[0]), WindowFontHeight, DEFAULT_PITCH | FF_DONTCARE);
  document_.attach(controls_.hwnd(ControlId::StyleSheet));

  run(Handler::FormCreate, hwnd());
  ShowWindow(hwnd(), showCommand);
  SetFocus(controls_.hwnd(ControlId::TAG));
  if (screenReaderRunning())
    nameControlsForScreenReaders();
}

bool TForm1::buildLaterPages() noexcept {
  try {
    return controls_.buildNextPage();
  } catch (...) {
    tk::reportCurrentException();
    return false; // the rest is built when something needs it
  }
}

// ---- pages and keyboard ----

void TForm1::showPage(int index) {
  HWND tabs = controls_.hwnd(ControlId::PageControl1);
  SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  const int shown = currentPage();
  HWND focus = GetFocus();
  int page = 0;
  HWND visible = nullptr;
  for (const FormControls::Control& c : controls_.all()) {
    if (c.row->kind != ControlKind::Page)
      continue;
    const bool show = page++ == shown;
    if (show) {
      visible = c.hwnd;
      controls_.fitCaptionsOn(c.hwnd);
    } else if (focus && (focus == c.hwnd || IsChild(c.hwnd, focus)))
      SetFocus(tabs); // the focus must not stay on a hidden page
    ShowWindow(c.hwnd, show ? SW_SHOW : SW_HIDE);
  }
  if (visible)
    SetWindowPos(visible, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

int TForm1::currentPage() const {
  return static_cast<int>(
      SendMessageW(controls_.hwnd(ControlId::PageControl1), TCM_GETCURSEL, 0, 0));
}

bool TForm1::focusInPages() const {
  HWND focus = GetFocus();
  if (!focus)
    return false;
  if (focus == controls_.hwnd(ControlId::PageControl1))
    return true;
  return std::ranges::any_of(controls_.all(), [focus](const FormControls::Control& c) {
    return c.row->kind == ControlKind::Page && IsChild(c.hwnd, focus);
  });
}

bool TForm1::preTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && ctrlDown() && focusInPages()) {
    const int count = static_cast<int>(
        SendMessageW(controls_.hwnd(ControlId::PageControl1), TCM_GETITEMCOUNT, 0, 0));
    if (count > 0)
      showPage((currentPage() + (shiftDown() ? count - 1 : 1)) % count);
    return true;
  }
  return IsDialogMessageW(hwnd(), &msg) != FALSE;
}

void TForm1::onCommand(WPARAM wp, LPARAM lp) {
  HWND from = reinterpret_cast<HWND>(lp);
  const FormControls::Control* control = controls_.find(from);
  if (!control) {
    // Dialog navigation sends IDOK for Enter (and IDCANCEL for Escape) when
    // no default button takes it: Enter presses the focused push button only.
    if (!from && LOWORD(wp) == IDOK) {
      const FormControls::Control* focused = controls_.find(GetFocus());
      if (focused && focused->row->kind == ControlKind::Button)
        run(focused->row->handler, focused->hwnd);
    }
    return;
  }
  if (const auto* combo = std::get_if<std::unique_ptr<CompletionCombo>>(&control->owner)) {
    (*combo)->handleCommand(wp, lp);
    return;
  }
  const ControlKind kind = control->row->kind;
  if ((kind == ControlKind::Button || kind == ControlKind::CheckBox) && HIWORD(wp) == BN_CLICKED)
    run(control->row->handler, from);
}

} // namespace ui
