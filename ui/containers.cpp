#include "ui/containers.h"

#include "toolkit/handles.h"
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
  case WM_DRAWITEM: {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item->CtlType == ODT_TAB) {
      TabControl::drawItem(*item);
      return TRUE;
    }
    break;
  }
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
  args.style |= WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS |
                TCS_OWNERDRAWFIXED;
  createControl(WC_TABCONTROLW, args);
}

// The control draws each tab's button edges; its inside is drawn here. The
// selected tab is filled with the 3-D highlight colour, as the control fills
// it itself, and every caption is written in the button-text colour, except
// where that is the highlight colour too (a high-contrast scheme), where the
// selected caption would vanish: there it takes the face colour.
void TabControl::drawItem(const DRAWITEMSTRUCT& item) {
  wchar_t caption[64] = {};
  TCITEMW tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = caption;
  tab.cchTextMax = 64;
  if (!SendMessageW(item.hwndItem, TCM_GETITEMW, item.itemID, reinterpret_cast<LPARAM>(&tab)))
    return;
  const bool selected =
      static_cast<UINT>(SendMessageW(item.hwndItem, TCM_GETCURSEL, 0, 0)) == item.itemID;
  COLORREF colour = GetSysColor(COLOR_BTNTEXT);
  if (selected) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_3DHILIGHT));
    if (colour == GetSysColor(COLOR_3DHILIGHT))
      colour = GetSysColor(COLOR_BTNFACE);
  }
  auto* const font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  tk::SelectScope chosen(item.hDC,
                         font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const COLORREF oldText = SetTextColor(item.hDC, colour);
  const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
  RECT r = item.rcItem;
  DrawTextW(item.hDC, tab.pszText, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(item.hDC, oldMode);
  SetTextColor(item.hDC, oldText);
}

LRESULT TabControl::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE)
    return 0; // never destroyed by a close; see the header
  return defaultProc(msg, wp, lp);
}

} // namespace ui
