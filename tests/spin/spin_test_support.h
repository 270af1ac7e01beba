// Shared pieces of the spin control window tests: a host window and a
// 12-pixel font.
#pragma once

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

// A font whose text height (tmHeight) is 12 pixels, like the main window's.
inline tk::UniqueFont twelvePixelFont() {
  return tk::UniqueFont(CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH, tk::widen("IPA Pゴシック").c_str()));
}

} // namespace spintest
