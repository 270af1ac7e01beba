// Shared pieces of the spin control window tests: a host window and a
// 12-pixel font.
#pragma once

#include "controls/timer_speed_button.h"
#include "tests/support/window_helpers.h"
#include "toolkit/handles.h"
#include "toolkit/text.h"

#include <gtest/gtest.h>

namespace spintest {

using namespace sheetloom_test;

class Host : public HostWindow {
public:
  Host() : HostWindow(L"SheetloomSpinTestHost", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300, L"") {}
};

// An arrow button as a test addresses it: the pair's window, which takes the
// button's messages, and the button's place in it.
struct Arrow {
  HWND hwnd = nullptr; // the pair
  RECT bounds{};       // the button in the pair's client area
  // A point given relative to the button's top-left corner, in the pair.
  POINT at(int x, int y) const { return {bounds.left + x, bounds.top + y}; }
  POINT centre() const {
    return {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
  }
  bool operator==(const Arrow& other) const {
    return hwnd == other.hwnd && EqualRect(&bounds, &other.bounds);
  }
};

inline Arrow arrowOf(const controls::TTimerSpeedButton& button) {
  return {button.Owner(), button.BoundsRect()};
}

// Sends a mouse message to the arrow at (x, y) from its top-left corner.
inline LRESULT sendTo(const Arrow& arrow, UINT msg, WPARAM wp, int x, int y) {
  const POINT p = arrow.at(x, y);
  return SendMessageW(arrow.hwnd, msg, wp, MAKELPARAM(p.x, p.y));
}

// A font whose text height (tmHeight) is 12 pixels, like the main window's.
inline tk::UniqueFont twelvePixelFont() {
  return tk::UniqueFont(CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH, tk::widen("IPA Pゴシック").c_str()));
}

} // namespace spintest
