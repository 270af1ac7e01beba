#include "spin_test_support.h"

#include "controls/spin_button.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace spintest;

class SpinButtonTest : public ::testing::Test {
protected:
  void SetUp() override {
    pair.create(host.hwnd(), 10, 10, 20, 25, 201, true);
    pair.OnUpClick = [this](controls::TSpinButton& sender) {
      EXPECT_EQ(&sender, &pair);
      ++ups;
    };
    pair.OnDownClick = [this](controls::TSpinButton& sender) {
      EXPECT_EQ(&sender, &pair);
      ++downs;
    };
  }
  bool marked(controls::TTimerSpeedButton& b) {
    return (b.TimeBtnStates() & controls::TTimerSpeedButton::tbFocusRect) != 0;
  }
  void key(WPARAM vk) { SendMessageW(pair.hwnd(), WM_KEYDOWN, vk, 1); }
  void click(controls::TTimerSpeedButton& b) {
    sendTo(arrowOf(b), WM_LBUTTONDOWN, MK_LBUTTON, 2, 2);
    sendTo(arrowOf(b), WM_LBUTTONUP, 0, 2, 2);
  }

  Host host;
  controls::TSpinButton pair;
  int ups = 0, downs = 0;
};

TEST_F(SpinButtonTest, BuiltInGlyphsAndGlyphCounts) {
  for (HBITMAP glyph : {pair.UpGlyph(), pair.DownGlyph()}) {
    ASSERT_NE(glyph, nullptr);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectW(glyph, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 9);
    EXPECT_EQ(bm.bmHeight, 6);
  }
  EXPECT_EQ(pair.UpNumGlyphs(), 1);
  EXPECT_TRUE(pair.UpButton().TimeBtnStates() & controls::TTimerSpeedButton::tbAllowTimer);

  struct Case {
    int width, height, count;
  };
  const Case cases[] = {{36, 9, 4}, {18, 9, 2}, {45, 9, 1}, {9, 9, 1}};
  for (const auto& c : cases) {
    tk::UniqueBitmap source(CreateBitmap(c.width, c.height, 1, 32, nullptr));
    pair.SetUpGlyph(source.get());
    EXPECT_EQ(pair.UpNumGlyphs(), c.count) << c.width << 'x' << c.height;
    EXPECT_NE(pair.UpGlyph(), source.get()); // a copy
  }
  pair.SetUpNumGlyphs(7);
  EXPECT_EQ(pair.UpNumGlyphs(), 4);
  pair.SetUpGlyph(nullptr);
  EXPECT_EQ(pair.UpNumGlyphs(), 1);
  BITMAP bm{};
  ASSERT_TRUE(GetObjectW(pair.UpGlyph(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 9);
  // A width that is no multiple of the height leaves the count alone.
  pair.SetDownNumGlyphs(3);
  tk::UniqueBitmap odd(CreateBitmap(10, 4, 1, 32, nullptr));
  pair.SetDownGlyph(odd.get());
  EXPECT_EQ(pair.DownNumGlyphs(), 3);
}

TEST_F(SpinButtonTest, LayoutRaisesTheWidthAndOverlapsOneRow) {
  struct Case {
    int width, height, shownWidth, upHeight, downTop, downHeight;
  };
  const Case cases[] = {
      {20, 25, 20, 12, 11, 14},
      {15, 16, 15, 8, 7, 9},
      {10, 30, 15, 15, 14, 16},
      {15, 17, 15, 8, 7, 10},
  };
  for (const auto& c : cases) {
    pair.SetBounds(5, 6, c.width, c.height);
    const RECT p = rectIn(pair.hwnd(), host.hwnd());
    EXPECT_EQ(p.left, 5);
    EXPECT_EQ(p.top, 6);
    EXPECT_EQ(p.right - p.left, c.shownWidth);
    const RECT up = pair.UpButton().BoundsRect();
    const RECT down = pair.DownButton().BoundsRect();
    EXPECT_EQ(up.top, 0);
    EXPECT_EQ(up.right - up.left, c.shownWidth);
    EXPECT_EQ(up.bottom - up.top, c.upHeight);
    EXPECT_EQ(down.top, c.downTop);
    EXPECT_EQ(down.right - down.left, c.shownWidth);
    EXPECT_EQ(down.bottom - down.top, c.downHeight);
  }
  // Sized from outside, below the minimum width: the pair widens itself.
  MoveWindow(pair.hwnd(), 0, 0, 8, 20, TRUE);
  const RECT p = rectIn(pair.hwnd(), host.hwnd());
  EXPECT_EQ(p.right - p.left, 15);
}

TEST_F(SpinButtonTest, FocusMarkFollowsTheCurrentButton) {
  EXPECT_EQ(&pair.CurrentButton(), &pair.UpButton());
  EXPECT_EQ(SendMessageW(pair.hwnd(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  EXPECT_FALSE(marked(pair.UpButton()));
  SetFocus(pair.hwnd());
  EXPECT_TRUE(marked(pair.UpButton()));

  key(VK_DOWN);
  EXPECT_EQ(&pair.CurrentButton(), &pair.DownButton());
  EXPECT_FALSE(marked(pair.UpButton()));
  EXPECT_TRUE(marked(pair.DownButton()));
  EXPECT_EQ(downs, 1);
  key(VK_SPACE);
  EXPECT_EQ(downs, 2);
  key(VK_UP);
  EXPECT_EQ(ups, 1);
  EXPECT_TRUE(marked(pair.UpButton()));
  key(VK_SPACE);
  EXPECT_EQ(ups, 2);

  // A press makes the pressed button current.
  click(pair.DownButton());
  EXPECT_EQ(&pair.CurrentButton(), &pair.DownButton());
  EXPECT_EQ(downs, 3);

  HWND elsewhere = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 100, 100,
                                   50, 20, host.hwnd(), nullptr, nullptr, nullptr);
  SetFocus(elsewhere);
  EXPECT_FALSE(marked(pair.DownButton()));
  // A press on the unfocused pair gives it the focus.
  click(pair.UpButton());
  EXPECT_EQ(GetFocus(), pair.hwnd());
  EXPECT_TRUE(marked(pair.UpButton()));
  DestroyWindow(elsewhere);
}

TEST_F(SpinButtonTest, NotATabStopTheCurrentButtonStays) {
  controls::TSpinButton inner;
  inner.create(host.hwnd(), 100, 10, 20, 25);
  sendTo(arrowOf(inner.DownButton()), WM_LBUTTONDOWN, MK_LBUTTON, 2, 2);
  sendTo(arrowOf(inner.DownButton()), WM_LBUTTONUP, 0, 2, 2);
  EXPECT_EQ(&inner.CurrentButton(), &inner.UpButton());
  EXPECT_NE(GetFocus(), inner.hwnd());
}

TEST_F(SpinButtonTest, PressFocusesTheFocusControlAndForgetsItWhenItDies) {
  HWND target = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 100, 100, 50,
                                20, host.hwnd(), nullptr, nullptr, nullptr);
  pair.SetFocusControl(target);
  click(pair.DownButton());
  EXPECT_EQ(GetFocus(), target);
  EXPECT_EQ(downs, 1);
  DestroyWindow(target);
  EXPECT_EQ(pair.FocusControl(), nullptr);
  click(pair.UpButton()); // no stale handle used: the pair takes the focus itself
  EXPECT_EQ(GetFocus(), pair.hwnd());
  EXPECT_EQ(ups, 1);

  // A pair that dies before its focus control leaves that control working.
  HWND survivor = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 100, 100, 50,
                                  20, host.hwnd(), nullptr, nullptr, nullptr);
  {
    controls::TSpinButton shortLived;
    shortLived.create(host.hwnd(), 200, 10, 20, 25);
    shortLived.SetFocusControl(survivor);
  }
  SetWindowTextW(survivor, L"still here");
  EXPECT_TRUE(DestroyWindow(survivor));
}

// The pixels of an arrow button as shown on the screen, row by row.
std::vector<COLORREF> snapshot(const controls::TTimerSpeedButton& button) {
  UpdateWindow(button.Owner());
  tk::WindowDc dc(button.Owner());
  const RECT r = button.BoundsRect();
  std::vector<COLORREF> pixels;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      pixels.push_back(GetPixel(dc.get(), x, y));
  return pixels;
}

TEST(TimerSpeedButton, FocusMarkInsetThreeAndShiftedWhilePressed) {
  const int w = 15, h = 16;
  Host host;
  // The upper button of a pair twice its height is w x h.
  controls::TSpinButton pair;
  pair.create(host.hwnd(), 10, 10, w, 2 * h);
  controls::TTimerSpeedButton& button = pair.UpButton();
  ASSERT_EQ(button.BoundsRect().right, w);
  ASSERT_EQ(button.BoundsRect().bottom, h);
  for (bool pressed : {false, true}) {
    if (pressed)
      sendTo(arrowOf(button), WM_LBUTTONDOWN, MK_LBUTTON, 2, 2);
    ASSERT_EQ(button.Down(), pressed);
    button.SetTimeBtnStates(0);
    const std::vector<COLORREF> plain = snapshot(button);
    button.SetTimeBtnStates(controls::TTimerSpeedButton::tbFocusRect);
    const std::vector<COLORREF> marked = snapshot(button);
    ASSERT_EQ(plain.size(), static_cast<size_t>(w * h));
    ASSERT_EQ(marked.size(), plain.size());

    // Every changed pixel lies on the outline of (3, 3, w - 3, h - 3), moved
    // by (1, 1) while pressed, and each of its four sides has some.
    const int shift = pressed ? 1 : 0;
    const int left = 3 + shift, top = 3 + shift, right = w - 3 + shift - 1,
              bottom = h - 3 + shift - 1;
    int onLeft = 0, onTop = 0, onRight = 0, onBottom = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        if (plain[y * w + x] == marked[y * w + x])
          continue;
        const bool inside = x >= left && x <= right && y >= top && y <= bottom;
        EXPECT_TRUE(inside && (x == left || x == right || y == top || y == bottom))
            << "pressed " << pressed << " at " << x << ',' << y;
        onLeft += x == left;
        onTop += y == top;
        onRight += x == right;
        onBottom += y == bottom;
      }
    EXPECT_GT(onLeft, 0) << pressed;
    EXPECT_GT(onTop, 0) << pressed;
    EXPECT_GT(onRight, 0) << pressed;
    EXPECT_GT(onBottom, 0) << pressed;
  }
  sendTo(arrowOf(button), WM_LBUTTONUP, 0, 2, 2);
}

TEST(SpinGlyphs, BuiltInArrowsAreFourBitTrianglesOnOlive) {
  const std::vector<std::string> up = {
      ".........", "....#....", "...###...", "..#####..", ".#######.", ".........",
  };
  const std::vector<std::string> down(up.rbegin(), up.rend());
  // Resource names are matched without regard to case.
  for (auto [name, rows] : {std::pair{L"SpinUp", up}, std::pair{L"SPINDOWN", down}}) {
    const HRSRC resource = FindResourceW(nullptr, name, MAKEINTRESOURCEW(2)); // RT_BITMAP
    ASSERT_NE(resource, nullptr);
    const auto* info =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, resource)));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->biWidth, 9);
    EXPECT_EQ(info->biHeight, 6); // bottom-up rows
    EXPECT_EQ(info->biBitCount, 4);
    EXPECT_EQ(info->biCompression, static_cast<DWORD>(BI_RGB));
    const auto* palette =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + info->biSize);
    const COLORREF standard[16] = {
        RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
    };
    ASSERT_TRUE(info->biClrUsed == 0 || info->biClrUsed == 16);
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(RGB(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue), standard[i]) << i;
    const BYTE* bits = reinterpret_cast<const BYTE*>(palette + 16);
    const int stride = 8; // 9 pixels of 4 bits, padded to a multiple of 32 bits
    for (int row = 0; row < 6; ++row) {
      std::string seen;
      const BYTE* line = bits + (5 - row) * stride;
      for (int x = 0; x < 9; ++x) {
        const int index = x % 2 ? line[x / 2] & 0x0F : line[x / 2] >> 4;
        const COLORREF colour = standard[index];
        seen += colour == RGB(0, 0, 0) ? '#' : colour == RGB(128, 128, 0) ? '.' : '?';
      }
      EXPECT_EQ(seen, rows[row]) << "row " << row;
    }
  }
}

} // namespace
