// Form1's own window: the messages it handles itself, its inner border, a
// new DPI and a new colour scheme. The handlers and the pages are in
// tform1.cpp.
#include "ui/tform1.h"

#include "toolkit/dpi.h"
#include "toolkit/handles.h"
#include "toolkit/placement.h"

#include <commctrl.h>

namespace ui {

void TForm1::onDpiChanged(UINT dpi, const RECT& suggested) {
  WindowFonts fonts = makeWindowFonts(dpi);
  dpi_ = dpi;
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts.controls.get()), FALSE);
  tk::moveWindow(hwnd(), suggested);
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
  case WM_NOTIFY:
    onNotify(*reinterpret_cast<const NMHDR*>(lp));
    return 0;
  case WM_NCCALCSIZE:
    return onNcCalcSize(wp, lp);
  case WM_NCPAINT:
  case WM_NCACTIVATE:
    return withInnerBorder(msg, wp, lp);
  case WM_SIZE:
    if (wp != SIZE_MINIMIZED && controls_.built())
      controls_.dock();
    return 0;
  case WM_DPICHANGED:
    onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
    return 0;
  case WM_ACTIVATE:
    onActivate(wp);
    return 0;
  case WM_SYSCOMMAND:
    if (onSysCommand(wp))
      return 0;
    break;
  case WM_CLOSE:
    if (onCloseRequest())
      return 0;
    break;
  case WM_GETOBJECT:
    onGetObject();
    break;
  case WM_SETTINGCHANGE:
    onSettingChange(wp);
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

void TForm1::onNotify(const NMHDR& header) {
  const FormControls::Control* from = controls_.find(header.hwndFrom);
  if (from && from->row->kind == ControlKind::TabControl && header.code == TCN_SELCHANGE)
    showPage(currentPage());
}

LRESULT TForm1::onNcCalcSize(WPARAM wp, LPARAM lp) {
  const LRESULT r = defaultProc(WM_NCCALCSIZE, wp, lp);
  RECT* client = reinterpret_cast<RECT*>(lp); // rgrc[0] when wp is TRUE
  const int border = tk::scale(FormInnerBorder, dpi_);
  InflateRect(client, -border, -border);
  return r;
}

// The frame's own painting, then the inner border it leaves alone.
LRESULT TForm1::withInnerBorder(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = defaultProc(msg, wp, lp);
  paintInnerBorder();
  return r;
}

// Windows that do their own dialog navigation keep the focus across
// deactivation themselves.
void TForm1::onActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd(), focus))
      lastFocus_ = focus;
    return;
  }
  if (HIWORD(wp))
    return; // activated while minimised
  HWND target = lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_) ? lastFocus_
                : !controls_.built()                                              ? nullptr
                                     : controls_.hwnd(ControlId::TAG);
  if (target)
    SetFocus(target);
}

bool TForm1::onSysCommand(WPARAM wp) {
  if ((wp & 0xFFF0) != SC_MINIMIZE || !onMinimize)
    return false;
  onMinimize();
  return true;
}

bool TForm1::onCloseRequest() {
  if (!onClose)
    return false;
  onClose();
  return true;
}

// An accessibility client is asking: from now on it needs the names.
void TForm1::onGetObject() {
  if (controls_.built())
    nameControlsForScreenReaders();
}

void TForm1::onSettingChange(WPARAM wp) {
  if (wp == SPI_SETSCREENREADER && screenReaderRunning())
    nameControlsForScreenReaders();
  if (wp == SPI_SETHIGHCONTRAST)
    repaintForNewColours(WM_SYSCOLORCHANGE);
}

} // namespace ui
