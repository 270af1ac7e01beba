#include "ui/containers.h"

#include "toolkit/text.h"

#include <commctrl.h>

namespace ui {

LRESULT Container::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_COMMAND:
  case WM_NOTIFY:
    if (target_)
      return SendMessageW(target_, msg, wp, lp);
    break;
  case WM_CLOSE:
    return 0; // never destroyed by a close; see the header
  case WM_ERASEBKGND: {
    // A group box leaves its inside unpainted; as a container it must cover
    // what its parent (which clips its children) does not paint.
    RECT r;
    GetClientRect(hwnd(), &r);
    FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  default:
    break;
  }
  return defaultProc(msg, wp, lp);
}

void GroupContainer::create(HWND parent, int id, const RECT& bounds, std::string_view caption) {
  const std::wstring text = tk::widen(caption);
  tk::CreateArgs args = tk::CreateArgs::child(parent, id, bounds);
  args.exStyle = WS_EX_CONTROLPARENT;
  args.style |= WS_VISIBLE | WS_CLIPCHILDREN | BS_GROUPBOX;
  args.text = text.c_str();
  createControl(L"BUTTON", args);
}

void PageContainer::create(HWND parent, int id, const RECT& bounds, bool visible) {
  tk::CreateArgs args = tk::CreateArgs::child(parent, id, bounds);
  args.exStyle = WS_EX_CONTROLPARENT;
  args.style |= WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
  createOwn(L"SheetloomPage", args);
}

void TabControl::create(HWND parent, int id, const RECT& bounds) {
  tk::CreateArgs args = tk::CreateArgs::child(parent, id, bounds);
  args.style |= WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS;
  createControl(WC_TABCONTROLW, args);
}

LRESULT TabControl::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE)
    return 0; // never destroyed by a close; see the header
  return defaultProc(msg, wp, lp);
}

} // namespace ui
