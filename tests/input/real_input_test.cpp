// The real-input layer itself: what it sends arrives as a user's input would,
// through the loop's preprocessing, and all of it has been handled (including
// what the handlers posted) when an action returns.
#include "tests/support/modal_windows.h"
#include "tests/support/real_input.h"
#include "tests/support/window_helpers.h"

#include "toolkit/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace sheetloom_test;

constexpr int kEditId = 10, kButtonId = 11;
constexpr UINT kFollowUp = WM_APP + 7;

// A window with an edit and a button that records what reaches it.
class InputHost : public HostWindow {
public:
  InputHost()
      : HostWindow(L"SheetloomRealInputHost", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 120, 140,
                   400, 200, L"input") {
    edit = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 300, 24, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), nullptr, nullptr);
    button = CreateWindowExW(
        0, L"BUTTON", L"press", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 60, 100, 30, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), nullptr, nullptr);
  }

  struct Key {
    WPARAM vk;
    bool ctrl, shift;
    bool operator==(const Key& o) const { return vk == o.vk && ctrl == o.ctrl && shift == o.shift; }
  };
  HWND edit = nullptr;   // children: destroyed with the window
  HWND button = nullptr; //
  int clicks = 0, followUps = 0;
  std::vector<Key> keys;

  // The loop offers each queued key here first, as it does to Form1.
  bool preTranslateMessage(MSG& msg) override {
    if (msg.message == WM_KEYDOWN && msg.wParam != VK_CONTROL && msg.wParam != VK_SHIFT)
      keys.push_back({msg.wParam, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0});
    return false;
  }

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND && LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED) {
      ++clicks;
      PostMessageW(hwnd(), kFollowUp, 0, 0); // must be handled before the click returns
      return 0;
    }
    if (msg == kFollowUp) {
      ++followUps;
      return 0;
    }
    return defaultProc(msg, wp, lp);
  }
};

class RealInputTest : public ::testing::Test {
protected:
  RealInputTest() { EXPECT_TRUE(RealInput::bringToFront(host.hwnd())); }

  Watchdog watchdog{45};
  InputHost host;
  RealInput input;
};

TEST_F(RealInputTest, TypedTextArrivesAsTyped) {
  struct Case {
    const wchar_t* keys;
    const wchar_t* text;
  } cases[] = {
      {L"body", L"body"},
      {L"Hello, World! #00FF7f (a:b) {x}", L"Hello, World! #00FF7f (a:b) {x}"},
      {L"font-family: \"A B\";", L"font-family: \"A B\";"},
      {L"ＭＳ Ｐゴシック 見出し", L"ＭＳ Ｐゴシック 見出し"},
      {L"x😀y", L"x😀y"},
      {L"abc\b\bZ", L"aZ"},
  };
  input.click(host.edit);
  ASSERT_EQ(GetFocus(), host.edit);
  for (const Case& c : cases) {
    tk::setWindowText(host.edit, L"");
    input.type(c.keys);
    EXPECT_EQ(tk::windowText(host.edit), c.text) << tk::narrow(c.keys);
  }
  EXPECT_TRUE(input.ok());
}

TEST_F(RealInputTest, ClicksLandWhereAimedAndTheirFollowUpsAreHandled) {
  input.moveTo(host.hwnd(), POINT{250, 120});
  input.click(host.button);
  EXPECT_EQ(host.clicks, 1);
  EXPECT_EQ(host.followUps, 1) << "a message posted by the click's handler is handled too";
  EXPECT_EQ(GetFocus(), host.button);
  // Beside the button: nothing.
  input.click(host.hwnd(), POINT{250, 75});
  EXPECT_EQ(host.clicks, 1);
  // Pressed and held, the button is down and holds the capture; released, it clicks.
  input.mouseDown(host.button, POINT{5, 5});
  EXPECT_TRUE(SendMessageW(host.button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_EQ(GetCapture(), host.button);
  input.runLoopFor(100);
  EXPECT_EQ(host.clicks, 1);
  input.mouseUp();
  EXPECT_EQ(host.clicks, 2);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(input.ok());
}

TEST_F(RealInputTest, KeysReachTheLoopWithTheirModifiers) {
  input.click(host.edit);
  const InputHost::Key expected[] = {
      {VK_TAB, true, false},     {VK_TAB, true, true},    {'C', true, false},
      {VK_ESCAPE, false, false}, {VK_LEFT, false, false}, {VK_TAB, false, true},
  };
  for (const InputHost::Key& k : expected)
    input.key(static_cast<WORD>(k.vk),
              (k.ctrl ? Ctrl : NoModifier) | (k.shift ? Shift : NoModifier));
  EXPECT_EQ(host.keys, std::vector<InputHost::Key>(std::begin(expected), std::end(expected)));
  EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "no modifier stays down";
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  EXPECT_TRUE(input.ok());
}

} // namespace
