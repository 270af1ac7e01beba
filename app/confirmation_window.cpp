#include "app/confirmation_window.h"

#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/late_bound.h"
#include "toolkit/message_loop.h"
#include "toolkit/placement.h"

#include <algorithm>
#include <cstring>

namespace app {
namespace {

constexpr const wchar_t* kCaption = L"Sheetloom";
constexpr const wchar_t* kFallbackButtonCaption = L"OK";
constexpr const char* kCannotOpenClipboard = "クリップボードを開くことができません";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

SIZE textExtent(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

constexpr const char* kCannotPlaceOnClipboard = "クリップボードにテキストを置くことができません";
// Other programs (clipboard managers, remote desktop clients) open the
// clipboard for a moment when it changes: opening it is tried again for this
// long before the copy gives up.
constexpr DWORD kClipboardPatienceMs = 50;

// The clipboard, open for as long as this lives.
class Clipboard {
public:
  explicit Clipboard(HWND owner) {
    const DWORD start = GetTickCount();
    while (!(open_ = OpenClipboard(owner) != FALSE) &&
           GetTickCount() - start < kClipboardPatienceMs)
      Sleep(2);
  }
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;
  ~Clipboard() {
    if (open_)
      CloseClipboard();
  }
  bool isOpen() const noexcept { return open_; }

private:
  bool open_ = false;
};

// Text in movable global memory, as the clipboard takes it; freed unless the
// clipboard has taken it over.
class ClipboardText {
public:
  explicit ClipboardText(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    memory_ = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* p = memory_ ? GlobalLock(memory_) : nullptr;
    if (!p) {
      if (memory_)
        GlobalFree(memory_);
      throw std::bad_alloc();
    }
    std::memcpy(p, text.c_str(), bytes);
    GlobalUnlock(memory_);
  }
  ClipboardText(const ClipboardText&) = delete;
  ClipboardText& operator=(const ClipboardText&) = delete;
  ~ClipboardText() {
    if (memory_)
      GlobalFree(memory_);
  }
  // Puts the text on the open clipboard, which then owns the memory.
  bool place() noexcept {
    if (!SetClipboardData(CF_UNICODETEXT, memory_))
      return false;
    memory_ = nullptr;
    return true;
  }

private:
  HGLOBAL memory_ = nullptr;
};

// The system's message font at `dpi`: per-monitor metrics where the system
// has them, else the system-DPI font scaled.
tk::UniqueFont messageFont(UINT dpi) {
  static const auto parametersForDpi =
      tk::user32Function<decltype(&::SystemParametersInfoForDpi)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (parametersForDpi &&
      parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
    return tk::UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return tk::UniqueFont();
  LOGFONTW& lf = metrics.lfMessageFont;
  lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(dpi), static_cast<int>(tk::screenDpi()));
  return tk::UniqueFont(CreateFontIndirectW(&lf));
}

} // namespace

std::wstring systemOkCaption() {
  // MB_GetString hands out the captions of the message box buttons from the
  // system's string table, indexed from 0 in the order of the dialog command
  // ids (IDOK is 1); it exists from Windows 2000 on.
  // The system headers do not declare it.
  static const auto getString = tk::user32Function<LPCWSTR(WINAPI*)(UINT)>("MB_GetString");
  if (getString) {
    if (LPCWSTR text = getString(IDOK - 1); text && *text)
      return text;
  }
  return kFallbackButtonCaption;
}

ConfirmationLayout layoutConfirmation(HDC dc, std::wstring_view message, int maxTextWidth,
                                      std::wstring_view buttonCaption) {
  const SIZE letters = textExtent(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int x = letters.cx / 52;
  const int y = letters.cy;

  RECT text{0, 0, maxTextWidth, 0};
  const std::wstring copy(message);
  DrawTextW(dc, copy.c_str(), static_cast<int>(copy.size()), &text,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  const int textWidth = text.right - text.left;
  const int textHeight = text.bottom - text.top;

  const int marginX = MulDiv(8, x, 4);
  const int marginY = MulDiv(8, y, 8);
  const int gap = MulDiv(10, y, 8);
  const int buttonWidth = std::max<int>(MulDiv(50, x, 4), textExtent(dc, buttonCaption).cx + 8);
  const int buttonHeight = MulDiv(14, y, 8);

  ConfirmationLayout layout{};
  layout.client.cx = std::max(textWidth, buttonWidth) + 2 * marginX;
  layout.client.cy = textHeight + gap + buttonHeight + 2 * marginY;
  layout.text = RECT{marginX, marginY, marginX + textWidth, marginY + textHeight};
  const int buttonLeft = (layout.client.cx - buttonWidth) / 2;
  const int buttonTop = marginY + textHeight + gap;
  layout.button = RECT{buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight};
  return layout;
}

std::wstring confirmationClipboardText(std::wstring_view caption, std::wstring_view message,
                                       std::wstring_view buttonCaption) {
  const std::wstring rule(27, L'-');
  std::wstring button(buttonCaption);
  button.erase(std::remove(button.begin(), button.end(), L'&'), button.end());
  std::wstring text;
  for (std::wstring_view line : {std::wstring_view(rule), caption, std::wstring_view(rule), message,
                                 std::wstring_view(rule)}) {
    text.append(line);
    text.append(L"\r\n");
  }
  text.append(button).append(L"   \r\n");
  text.append(rule).append(L"\r\n");
  return text;
}

ConfirmationWindow::ConfirmationWindow(std::wstring_view message) : message_(message) {}

ConfirmationWindow::~ConfirmationWindow() {
  destroy();
}

void ConfirmationWindow::build() {
  buttonCaption_ = systemOkCaption();
  tk::CreateArgs args;
  args.exStyle = kExStyle;
  args.style = kStyle;
  args.text = kCaption;
  args.x = args.y = 0;
  args.width = args.height = 0;
  args.parent = tk::dialogOwner();
  createOwn(L"SheetloomConfirmation", args);
  tk::CreateArgs label = tk::CreateArgs::child(hwnd(), 0, 0, 0, 0, 0);
  label.style |= WS_VISIBLE | SS_LEFT;
  label.text = message_.c_str();
  label_ = tk::createChild(L"STATIC", label);
  tk::CreateArgs button = tk::CreateArgs::child(hwnd(), IDOK, 0, 0, 0, 0);
  button.style |= WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
  button.text = buttonCaption_.c_str();
  button_ = tk::createChild(L"BUTTON", button);
  // Laid out at the DPI of the monitor that the window is on.
  const UINT dpi = tk::windowDpi(hwnd());
  placeCentred(layOut(dpi), dpi,
               RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

// Gives the window the client size `client`, centred in `area`.
void ConfirmationWindow::placeCentred(SIZE client, UINT dpi, const RECT& area) {
  RECT frame{0, 0, client.cx, client.cy};
  tk::adjustWindowRect(frame, kStyle, kExStyle, dpi);
  const auto centre = [&](SIZE outer, UINT flags) {
    const POINT at = tk::centredIn(area, outer);
    SetWindowPos(hwnd(), nullptr, at.x, at.y, outer.cx, outer.cy,
                 flags | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const SIZE computed{frame.right - frame.left, frame.bottom - frame.top};
  centre(computed, 0);
  const SIZE outer = tk::fitClientSize(hwnd(), client);
  if (outer.cx != computed.cx || outer.cy != computed.cy)
    centre(outer, SWP_NOSIZE);
}

// Font, label and button for `dpi`; returns the client size that fits them.
SIZE ConfirmationWindow::layOut(UINT dpi) {
  tk::UniqueFont font = messageFont(dpi);
  HFONT shown = font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  ConfirmationLayout layout;
  {
    tk::WindowDc dc(nullptr);
    tk::SelectScope select(dc.get(), shown);
    layout =
        layoutConfirmation(dc.get(), message_, GetSystemMetrics(SM_CXSCREEN) / 2, buttonCaption_);
  }
  for (HWND child : {label_, button_})
    if (child)
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
  // The old font goes only once no child uses it.
  font_ = std::move(font);
  if (label_)
    tk::moveWindow(label_, layout.text);
  if (button_)
    tk::moveWindow(button_, layout.button);
  return layout.client;
}

// Moved to a monitor of another DPI: the font and layout follow, and the
// window keeps its centre where the system suggests it.
void ConfirmationWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
  placeCentred(layOut(dpi), dpi, suggested);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ConfirmationWindow::showModal() {
  build();
  done_ = false;
  {
    tk::ModalScope modal;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    if (button_)
      SetFocus(button_);
    tk::runModalLoop(done_);
  }
  destroy();
}

bool ConfirmationWindow::preTranslateMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN)
    return false;
  if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) {
    done_ = true;
    return true;
  }
  const bool ctrlOnly = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 &&
                        GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_LWIN) >= 0 &&
                        GetKeyState(VK_RWIN) >= 0;
  if (msg.wParam == 'C' && ctrlOnly) {
    MessageBeep(0);
    try {
      copyToClipboard();
    } catch (...) {
      tk::reportCurrentException();
    }
    return true;
  }
  return false;
}

// The data is built before the clipboard is touched, and the clipboard is
// emptied only once it is open: a failure leaves the user's clipboard as it
// was, except when the text cannot be placed after the emptying, which is
// reported.
void ConfirmationWindow::copyToClipboard() {
  ClipboardText text(confirmationClipboardText(kCaption, message_, buttonCaption_));
  Clipboard clipboard(hwnd());
  if (!clipboard.isOpen())
    throw tk::Error(kCannotOpenClipboard);
  if (!EmptyClipboard() || !text.place())
    throw tk::Error(kCannotPlaceOnClipboard);
}

LRESULT ConfirmationWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_COMMAND:
    if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)
      done_ = true;
    return 0;
  case WM_CLOSE:
    done_ = true;
    return 0;
  case WM_DPICHANGED:
    onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
    return 0;
  default:
    return defaultProc(msg, wp, lp);
  }
}

void showConfirmation(std::wstring_view message) {
  ConfirmationWindow window(message);
  window.showModal();
}

} // namespace app
