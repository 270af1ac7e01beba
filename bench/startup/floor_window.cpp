// The floor of the start-up benchmark: Form1's windows and nothing else. It
// reads the same window description as the program and creates the same
// windows from it (classes, styles, places, list entries, fonts), each once
// and in place, and shows the window: no application window, no subclassing,
// no handlers, no measuring and no second layout. Its start is the window
// system's cost of that window, which no code of the program can remove.
// Depends on the description alone, so that it follows every change to it.
#include "ui/form_description.h"

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using ui::ControlDescription;
using ui::ControlKind;

// Form1's frame, as the program makes it.
const DWORD FormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
const int SpinButtonWidth = 15; // the spin edit's arrow pair, 96 dpi

int dpi = 96;

int scale(int px96) {
  return MulDiv(px96, dpi, 96);
}

std::wstring widen(std::string_view utf8) {
  std::wstring wide(utf8.size(), L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return wide;
}

LRESULT CALLBACK formProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    PostQuitMessage(0); // the process ends with its windows, as the program's does
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool registerClass(const wchar_t* name, WNDPROC proc, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

int CALLBACK noteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
  auto* wanted = reinterpret_cast<std::wstring*>(param);
  if (*wanted != font->lfFaceName)
    return 1;
  wanted->clear(); // found
  return 0;
}

// The first installed face of the description's list.
std::wstring windowFace() {
  HDC dc = GetDC(nullptr);
  for (std::string_view face : ui::WindowFaces) {
    const std::wstring wide = widen(face);
    LOGFONTW pattern{};
    pattern.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(pattern.lfFaceName, wide.c_str(), LF_FACESIZE - 1);
    std::wstring wanted = wide;
    EnumFontFamiliesExW(dc, &pattern, noteFace, reinterpret_cast<LPARAM>(&wanted), 0);
    if (wanted.empty()) {
      ReleaseDC(nullptr, dc);
      return wide;
    }
  }
  ReleaseDC(nullptr, dc);
  return widen(ui::WindowFaces[0]);
}

HFONT makeFont(const std::wstring& face, int height96) {
  LOGFONTW lf{};
  lf.lfHeight = -scale(height96);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

class Builder {
public:
  Builder(HWND form, HFONT font, HFONT memoFont) : form_(form), font_(font), memoFont_(memoFont) {}

  bool build() {
    int id = 100;
    for (const ControlDescription* row = ui::formDescriptionBegin();
         row != ui::formDescriptionEnd(); ++row) {
      HWND h = create(*row, id++);
      if (!h)
        return false;
      built_[ui::indexOf(row->id)] = h;
    }
    return true;
  }

private:
  HWND find(ui::ControlId id) const {
    return id == ui::ControlId::None ? form_ : built_[ui::indexOf(id)];
  }

  RECT boundsOf(const ControlDescription& row, HWND parent) const {
    if (row.dock != ui::Dock::None) {
      RECT area{};
      GetClientRect(parent, &area);
      if (row.dock == ui::Dock::Fill)
        return area;
      const int inset = scale(ui::MemoInset), height = scale(row.bounds.height);
      return {inset, area.bottom - inset - height, area.right - inset, area.bottom - inset};
    }
    const int x = scale(row.bounds.left), y = scale(row.bounds.top);
    return {x, y, x + scale(row.bounds.width), y + scale(row.bounds.height)};
  }

  HWND make(const wchar_t* cls, DWORD exStyle, DWORD style, std::string_view text, HWND parent,
            int id, const RECT& r) const {
    const std::wstring wide = widen(text);
    return CreateWindowExW(exStyle, cls, wide.c_str(), WS_CHILD | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  }

  void setFont(HWND h, HFONT font) const {
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }

  HWND create(const ControlDescription& row, int id) {
    const bool isPage = row.kind == ControlKind::Page;
    HWND parent = find(row.parentId);
    if (isPage)
      parent = GetParent(parent); // the pages stand beside the tab control
    if (!parent)
      return nullptr;
    const RECT r = isPage ? pageArea_ : boundsOf(row, parent);
    HWND h = nullptr;
    switch (row.kind) {
    case ControlKind::GroupBox:
      h = make(L"BUTTON", WS_EX_CONTROLPARENT, WS_VISIBLE | WS_CLIPCHILDREN | BS_GROUPBOX, row.text,
               parent, id, r);
      break;
    case ControlKind::Label:
      h = make(L"STATIC", 0, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, row.text, parent, id, r);
      break;
    case ControlKind::Button:
      h = make(L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, row.text, parent, id, r);
      break;
    case ControlKind::CheckBox:
      h = make(L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, row.text, parent, id, r);
      break;
    case ControlKind::Edit:
      h = make(L"EDIT", WS_EX_CLIENTEDGE, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, row.text,
               parent, id, r);
      SendMessageW(h, EM_SETLIMITTEXT, 0, 0);
      break;
    case ControlKind::Memo:
      h = make(L"EDIT", WS_EX_CLIENTEDGE,
               WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN |
                   ES_AUTOVSCROLL | ES_AUTOHSCROLL,
               {}, parent, id, r);
      SendMessageW(h, EM_SETLIMITTEXT, 0, 0);
      setFont(h, memoFont_);
      return h;
    case ControlKind::TabControl:
      h = make(WC_TABCONTROLW, 0,
               WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS, {},
               parent, id, r);
      if (h) {
        setFont(h, font_);
        addPages(h, row.id, r);
      }
      return h;
    case ControlKind::Page:
      h = CreateWindowExW(WS_EX_CONTROLPARENT, L"SheetloomPage", L"",
                          WS_CHILD | WS_CLIPCHILDREN | (firstPage_ ? WS_VISIBLE : 0), r.left, r.top,
                          r.right - r.left, r.bottom - r.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
      firstPage_ = false;
      break;
    case ControlKind::SpinEdit:
      return createSpin(parent, id, r);
    case ControlKind::EditCombo:
    case ControlKind::DropDownList:
      return createCombo(row, parent, id, r);
    }
    if (h)
      setFont(h, font_);
    return h;
  }

  // The tabs of every page, before the pages, so that the pages are created
  // in the page area at once.
  void addPages(HWND tabs, ui::ControlId tabControl, RECT r) {
    int index = 0;
    for (const ControlDescription* row = ui::formDescriptionBegin();
         row != ui::formDescriptionEnd(); ++row) {
      if (row->kind != ControlKind::Page || row->parentId != tabControl)
        continue;
      std::wstring caption = widen(row->text);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = caption.data();
      SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index++),
                   reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    pageArea_ = r;
  }

  // The spin edit's windows: the edit with its initial text and its arrow
  // pair, one window that paints both buttons.
  HWND createSpin(HWND parent, int id, const RECT& r) {
    HWND edit =
        make(L"EDIT", WS_EX_CLIENTEDGE,
             WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_MULTILINE | WS_CLIPCHILDREN,
             "0", parent, id, r);
    if (!edit)
      return nullptr;
    setFont(edit, font_);
    const int w = r.right - r.left, h = r.bottom - r.top, p = scale(SpinButtonWidth);
    if (!make(L"SheetloomSpinButton", 0, WS_VISIBLE, {}, edit, 0, {w - p - 5, 0, w - 5, h - 5}))
      return nullptr;
    return edit;
  }

  HWND createCombo(const ControlDescription& row, HWND parent, int id, const RECT& r) {
    const bool editable = row.kind == ControlKind::EditCombo;
    HWND h = make(L"COMBOBOX", 0,
                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                      (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST),
                  {}, parent, id, r);
    if (!h)
      return nullptr;
    setFont(h, font_);
    if (editable)
      SendMessageW(h, CB_LIMITTEXT, 0, 0);
    for (std::string_view entry : row.entries) {
      const std::wstring wide = widen(entry);
      SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(row.initialIndex), 0);
    if (row.initialIndex == ui::NoSelection && !row.text.empty())
      SetWindowTextW(h, widen(row.text).c_str());
    return h;
  }

  HWND form_;
  HFONT font_, memoFont_;
  std::array<HWND, ui::ControlCount> built_{}; // by ControlId
  RECT pageArea_{};
  bool firstPage_ = true;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  HDC screen = GetDC(nullptr);
  dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  ReleaseDC(nullptr, screen);

  const HBRUSH face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (!registerClass(L"TForm1", formProc, face) ||
      !registerClass(L"SheetloomPage", DefWindowProcW, face) ||
      !registerClass(L"SheetloomSpinButton", DefWindowProcW, nullptr))
    return 1;

  RECT frame{0, 0, scale(ui::FormClientWidth), scale(ui::FormClientHeight)};
  AdjustWindowRectEx(&frame, FormStyle, FALSE, 0);
  const std::wstring caption = widen(ui::FormCaption);
  HWND form = CreateWindowExW(0, L"TForm1", caption.c_str(), FormStyle, scale(ui::FormLeft),
                              scale(ui::FormTop), frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (!form)
    return 1;
  const std::wstring faceName = windowFace();
  HFONT font = makeFont(faceName, ui::WindowFontHeight);
  HFONT memoFont = makeFont(faceName, ui::MemoFontHeight);
  SendMessageW(form, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Builder builder(form, font, memoFont);
  if (!builder.build())
    return 1;
  ShowWindow(form, showCommand);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
