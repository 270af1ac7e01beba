// Shared pieces of the spin control window tests: a host window, a 12-pixel
// font, a beep counter and message pumps.
#pragma once

#include "ui/beep.h"

#include "toolkit/handles.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <string>

namespace spintest {

inline int g_beeps = 0;
inline void countBeep(UINT type) {
  EXPECT_EQ(type, 0u);
  ++g_beeps;
}

class Host : public tk::Window {
public:
  ~Host() override { destroy(); }
  void create() {
    tk::CreateArgs args;
    args.style = WS_POPUP | WS_VISIBLE;
    args.x = 40;
    args.y = 40;
    args.width = 400;
    args.height = 300;
    createOwn(L"SheetloomSpinTestHost", args);
  }
};

inline double nowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Dispatches messages for `ms` milliseconds, optionally through
// IsDialogMessage of `dialog` first, as the main window's loop does.
inline void pump(double ms, HWND dialog = nullptr) {
  const double end = nowMs() + ms;
  MSG m;
  for (;;) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (dialog && IsDialogMessageW(dialog, &m))
        continue;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    const double left = end - nowMs();
    if (left <= 0)
      break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
  }
}

// A font whose text height (tmHeight) is 12 pixels, like the main window's.
inline tk::UniqueFont twelvePixelFont() {
  return tk::UniqueFont(CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH, tk::widen("IPA Pゴシック").c_str()));
}

inline RECT rectIn(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline void setClipboardText(HWND owner, const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(mem, nullptr);
  auto* p = static_cast<wchar_t*>(GlobalLock(mem));
  std::copy(text.c_str(), text.c_str() + text.size() + 1, p);
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem); // the clipboard owns it now
  CloseClipboard();
}

inline std::wstring clipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner))
    return text;
  if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(mem))) {
      text = p;
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  return text;
}

} // namespace spintest
