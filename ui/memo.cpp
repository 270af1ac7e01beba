#include "ui/memo.h"

#include <string>

namespace ui {

void Memo::create(HWND parent, int id, const RECT& bounds) {
  tk::CreateArgs args = tk::CreateArgs::child(parent, id, bounds);
  args.exStyle = WS_EX_CLIENTEDGE;
  args.style |= WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN |
                ES_AUTOVSCROLL | ES_AUTOHSCROLL;
  createControl(L"EDIT", args);
  // 0 lifts the default limit of about 32K characters to the largest the
  // control can hold.
  SendMessageW(hwnd(), EM_SETLIMITTEXT, 0, 0);
}

void Memo::append(std::wstring_view text) {
  const std::wstring copy(text);
  const LRESULT length = SendMessageW(hwnd(), WM_GETTEXTLENGTH, 0, 0);
  // Placing the caret makes the edit control walk its lines; after an add
  // it already stands at the end, so only place it when it does not.
  DWORD start = 0, end = 0;
  SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (static_cast<LRESULT>(start) != length || static_cast<LRESULT>(end) != length)
    SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(length), length);
  // Replacing the selection also scrolls the caret, now after the rule, into view.
  SendMessageW(hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(copy.c_str()));
}

LRESULT Memo::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_GETDLGCODE: {
    // A multi-line edit wants every key, Tab included. Give up plain Tab and
    // Shift+Tab so that dialog navigation moves the focus on (Ctrl+Tab still
    // inserts a tab character, as in other multi-line edits), and Escape,
    // which the window has no use for.
    LRESULT code = defaultProc(msg, wp, lp);
    const MSG* key = reinterpret_cast<const MSG*>(lp);
    if (key && key->message == WM_KEYDOWN &&
        ((key->wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) || key->wParam == VK_ESCAPE))
      code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    return code;
  }
  case WM_KEYDOWN:
    // Once asked for its dialog code, a multi-line edit answers Escape by
    // posting WM_CLOSE to its parent, the framing group: the key must never
    // reach it, whichever loop delivers it.
    // Nor is Escape a character of the text (WM_CHAR).
  case WM_CHAR:
    if (wp == VK_ESCAPE)
      return 0;
    break;
  default:
    break;
  }
  return defaultProc(msg, wp, lp);
}

} // namespace ui
