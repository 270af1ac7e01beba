#include "ui/tform1.h"

#include "controls/completion_combo.h"
#include "style/add_action.h"
#include "style/font_colour.h"
#include "style/side_editors.h"
#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/text.h"
#include "ui/form_editors.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace ui {
namespace {

namespace st = style;

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
    const RECT r = windowRectFor(dpi_, args.x, args.y);
    SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
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
  LOGFONTW& lf = fontDialog_.font;
  lf.lfHeight = -WindowFontHeight;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  const std::wstring face = tk::widen("ＭＳ Ｐゴシック");
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  document_.attach(controls_.hwnd(ControlId::StyleSheet));

  run(Handler::FormCreate, hwnd());
  ShowWindow(hwnd(), showCommand);
  SetFocus(controls_.hwnd(ControlId::TAG));
  if (screenReaderRunning())
    nameControlsForScreenReaders();
}

// ---- handlers ----

FormEditors& TForm1::editors() {
  if (!editors_)
    editors_ = std::make_unique<FormEditors>(controls_);
  return *editors_;
}

bool TForm1::buildLaterPages() noexcept {
  try {
    return controls_.buildNextPage();
  } catch (...) {
    tk::reportCurrentException();
    return false; // the rest is built when something needs it
  }
}

void TForm1::FormCreate(HWND) {
  fontDialog_.colour = RGB(0, 0, 0);
  fontDialog_.font.lfHeight = st::heightFromPointSize(12, static_cast<int>(screenDpi_));
  store_.reset();
}

void TForm1::TAGChange(HWND) {
  tk::setWindowText(controls_.hwnd(ControlId::GroupBox1),
                    tk::windowText(controls_.hwnd(ControlId::TAG)));
}

void TForm1::makeClick(HWND) {
  // Commits the three side groups as their handlers do, then composes the
  // rule from the controls and appends it to the memo.
  st::addRule(editors(), store_);
}

void TForm1::Button2Click(HWND) {
  document_.save(hwnd());
}

void TForm1::Button5Click(HWND) {
  document_.clear();
}

void TForm1::Button1Click(HWND) {
  const std::optional<tk::FontChoice> choice = tk::chooseFont(fontDialog_.font, fontDialog_.colour);
  if (!choice)
    return;
  st::FontDescription font;
  font.faceName = tk::narrow(choice->font.lfFaceName);
  font.height = choice->font.lfHeight;
  font.pixelsPerInch = static_cast<std::int32_t>(screenDpi_);
  font.weight = choice->font.lfWeight;
  font.italic = choice->font.lfItalic != 0;
  font.underline = choice->font.lfUnderline != 0;
  font.strikeOut = choice->font.lfStrikeOut != 0;
  font.colour = choice->colour;
  // Build the lines before keeping anything, so a failure changes nothing.
  st::FontDeclarations lines = st::fontDeclarations(font);
  store_.fontDeclarations = std::move(lines);
  fontDialog_.font = choice->font;
  fontDialog_.colour = choice->colour;
}

void TForm1::Button3Click(HWND) {
  chooseColourInto(ControlId::border_color);
}

void TForm1::Button4Click(HWND) {
  chooseColourInto(ControlId::back_color);
}

void TForm1::chooseColourInto(ControlId edit) {
  const std::optional<COLORREF> colour = tk::chooseColour(colourDialog_, customColours_);
  if (!colour)
    return;
  colourDialog_ = *colour;
  tk::setWindowText(controls_.hwnd(edit), tk::widen(st::colorCode(*colour)));
}

void TForm1::border_kindChange(HWND) {
  st::commitBorderEditors(editors().border, store_);
}

void TForm1::Ma_kindChange(HWND) {
  st::commitMarginEditors(editors().margin, store_);
}

void TForm1::Pa_kindChange(HWND) {
  st::commitPaddingEditors(editors().padding, store_);
}

void TForm1::run(Handler handler, HWND sender) {
  if (handler == Handler::None)
    return;
  switch (handler) {
  case Handler::None:
    break;
  case Handler::FormCreate:
    FormCreate(sender);
    break;
  case Handler::TAGChange:
    TAGChange(sender);
    break;
  case Handler::makeClick:
    makeClick(sender);
    break;
  case Handler::Button2Click:
    Button2Click(sender);
    break;
  case Handler::Button5Click:
    Button5Click(sender);
    break;
  case Handler::Button1Click:
    Button1Click(sender);
    break;
  case Handler::Button3Click:
    Button3Click(sender);
    break;
  case Handler::Button4Click:
    Button4Click(sender);
    break;
  case Handler::border_kindChange:
    border_kindChange(sender);
    break;
  case Handler::Ma_kindChange:
    Ma_kindChange(sender);
    break;
  case Handler::Pa_kindChange:
    Pa_kindChange(sender);
    break;
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
  if (control->combo) {
    control->combo->handleCommand(wp, lp);
    return;
  }
  const ControlKind kind = control->row->kind;
  if ((kind == ControlKind::Button || kind == ControlKind::CheckBox) && HIWORD(wp) == BN_CLICKED)
    run(control->row->handler, from);
}

// ---- window ----

void TForm1::onDpiChanged(UINT dpi, const RECT& suggested) {
  WindowFonts fonts = makeWindowFonts(dpi);
  dpi_ = dpi;
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts.controls.get()), FALSE);
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.relayout(dpi, fonts);
  fonts_ = std::move(fonts); // the old fonts go once no control uses them
}

namespace {

BOOL CALLBACK tellChild(HWND child, LPARAM message) {
  SendMessageW(child, static_cast<UINT>(message), 0, 0);
  return TRUE;
}

} // namespace

void TForm1::repaintForNewColours(UINT message) {
  EnumChildWindows(hwnd(), tellChild, static_cast<LPARAM>(message));
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TForm1::paintInnerBorder() {
  // The one-pixel border between the frame and the client area, which the
  // frame's own painting leaves alone.
  RECT window{}, client{};
  GetWindowRect(hwnd(), &window);
  GetClientRect(hwnd(), &client);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  const int border = tk::scale(FormInnerBorder, dpi_);
  InflateRect(&client, border, border);
  const tk::WindowDc dc(hwnd(), tk::WindowDc::whole);
  if (!dc.get())
    return;
  HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE); // a system brush: not ours to delete
  for (int i = 0; i < border; ++i) {
    FrameRect(dc.get(), &client, brush);
    InflateRect(&client, -1, -1);
  }
}

LRESULT TForm1::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_COMMAND:
    onCommand(wp, lp);
    return 0;
  case WM_NOTIFY: {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    const FormControls::Control* from = controls_.find(header->hwndFrom);
    if (from && from->row->kind == ControlKind::TabControl && header->code == TCN_SELCHANGE)
      showPage(currentPage());
    return 0;
  }
  case WM_NCCALCSIZE: {
    const LRESULT r = defaultProc(msg, wp, lp);
    RECT* client = reinterpret_cast<RECT*>(lp); // rgrc[0] when wp is TRUE
    const int border = tk::scale(FormInnerBorder, dpi_);
    InflateRect(client, -border, -border);
    return r;
  }
  case WM_NCPAINT:
  case WM_NCACTIVATE: {
    const LRESULT r = defaultProc(msg, wp, lp);
    paintInnerBorder();
    return r;
  }
  case WM_SIZE:
    if (wp != SIZE_MINIMIZED && controls_.built())
      controls_.dock();
    return 0;
  case WM_DPICHANGED:
    onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
    return 0;
  case WM_ACTIVATE:
    // Windows that do their own dialog navigation keep the focus across
    // deactivation themselves.
    if (LOWORD(wp) == WA_INACTIVE) {
      HWND focus = GetFocus();
      if (focus && IsChild(hwnd(), focus))
        lastFocus_ = focus;
    } else if (!HIWORD(wp)) {
      HWND target = lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_) ? lastFocus_
                    : !controls_.built()                                              ? nullptr
                                         : controls_.hwnd(ControlId::TAG);
      if (target)
        SetFocus(target);
    }
    return 0;
  case WM_GETOBJECT:
    // An accessibility client is asking: from now on it needs the names.
    if (controls_.built())
      nameControlsForScreenReaders();
    break;
  case WM_SETTINGCHANGE:
    if (wp == SPI_SETSCREENREADER && screenReaderRunning())
      nameControlsForScreenReaders();
    if (wp == SPI_SETHIGHCONTRAST)
      repaintForNewColours(WM_SYSCOLORCHANGE);
    break;
  case WM_SYSCOLORCHANGE:
  case WM_THEMECHANGED:
    // Only top-level windows hear of a new colour scheme or theme: the child
    // controls are told, and everything is drawn again in the new colours.
    repaintForNewColours(msg);
    break;
  case WM_DESTROY:
    screenReaderNames_.clear(); // while the controls still exist
    break;
  default:
    break;
  }
  return defaultProc(msg, wp, lp);
}

} // namespace ui
