// Spin edits driven by real mouse and keyboard input (SendInput, dispatched by
// the program's own loop): what clicks and holds on the arrows do to the
// value, and that the arrow pair stays drawn whatever the user does in the
// text, a pasted line break included.
#include "spin_test_support.h"

#include "controls/spin_button.h"
#include "controls/spin_edit.h"
#include "tests/support/real_input.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace spintest;

// The pair as the screen shows it: each button's black glyph pixels (the
// built-in arrow has 1 + 3 + 5 + 7) and some of the button face. An edit
// that painted over the pair leaves its white background there instead.
void expectPairDrawn(controls::TSpinEdit& spin, const std::string& when) {
  UpdateWindow(GetAncestor(spin.hwnd(), GA_ROOT));
  for (controls::TTimerSpeedButton* b : {&spin.Button().UpButton(), &spin.Button().DownButton()}) {
    const char* which = b == &spin.Button().UpButton() ? "up" : "down";
    EXPECT_EQ(countPixels(b->Owner(), RGB(0, 0, 0), b->BoundsRect()), 16)
        << which << " glyph, " << when;
    EXPECT_GT(countPixels(b->Owner(), GetSysColor(COLOR_BTNFACE), b->BoundsRect()), 0)
        << which << " face, " << when;
  }
}

POINT inText(const controls::TSpinEdit& spin) {
  RECT r{};
  GetClientRect(spin.hwnd(), &r);
  return {4, r.bottom / 2};
}

class SpinInputTest : public ::testing::Test {
protected:
  void SetUp() override {
    spins[2].SetCtl3D(false); // one with the flat border, its pair placed otherwise
    for (size_t i = 0; i < spins.size(); ++i)
      spins[i].create(host.hwnd(), 101 + static_cast<int>(i), 10, 10 + 40 * static_cast<int>(i), 57,
                      21, font.get());
    ASSERT_TRUE(RealInput::bringToFront(host.hwnd()));
  }

  Arrow up(int i = 0) { return arrowOf(spins[i].Button().UpButton()); }
  Arrow down(int i = 0) { return arrowOf(spins[i].Button().DownButton()); }

  tk::UniqueFont font = twelvePixelFont();
  Host host;
  std::array<controls::TSpinEdit, 3> spins;
  RealInput input;
};

TEST_F(SpinInputTest, ThePairStaysDrawnThroughEverythingDoneInTheText) {
  controls::TSpinEdit& first = spins[0];
  const struct {
    const char* action;
    std::function<void()> act;
  } steps[] = {
      {"pointer over the text", [&] { input.moveTo(first.hwnd(), inText(first)); }},
      {"click into the text", [&] { input.click(first.hwnd(), inText(first)); }},
      {"typing", [&] { input.type(L"42"); }},
      {"caret movement",
       [&] {
         input.key(VK_HOME);
         input.key(VK_RIGHT);
       }},
      {"selection with Shift+End", [&] { input.key(VK_END, Shift); }},
      {"selection by double click", [&] { input.doubleClick(first.hwnd(), inText(first)); }},
      {"text scrolled by a long number", [&] { input.type(L"123456789012345678"); }},
      {"Home scrolls it back", [&] { input.key(VK_HOME); }},
      {"Up arrow key", [&] { input.key(VK_UP); }},
      {"click into another spin edit", [&] { input.click(spins[1].hwnd(), inText(spins[1])); }},
      {"click on an arrow of a third", [&] { input.click(up(2).hwnd, up(2).centre()); }},
      {"click back into the first", [&] { input.click(first.hwnd(), inText(first)); }},
      {"a line break pasted with Ctrl+V",
       [&] {
         // Pasted text is not filtered: the break enters, and the edit
         // scrolls down to the line that holds the caret.
         ASSERT_TRUE(setClipboardText(host.hwnd(), L"1\r\n2"));
         input.click(spins[1].hwnd(), inText(spins[1]));
         input.key(VK_END);
         input.key(VK_HOME, Shift);
         input.key('V', Ctrl);
         EXPECT_EQ(spins[1].Text(), L"1\r\n2");
         EXPECT_EQ(SendMessageW(spins[1].hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0), 1);
       }},
      {"focus taken away",
       [&] {
         SetFocus(host.hwnd());
         input.moveTo(host.hwnd(), {300, 250});
       }},
  };
  for (const auto& step : steps) {
    step.act();
    ASSERT_TRUE(input.ok()) << step.action;
    for (size_t i = 0; i < spins.size(); ++i)
      expectPairDrawn(spins[i], std::string(step.action) + ", spin edit " + std::to_string(i));
  }
}

TEST_F(SpinInputTest, ThePairStaysDrawnWhileAnArrowIsHeld) {
  input.mouseDown(up().hwnd, up().at(4, 4));
  input.runLoopFor(250);
  // Pressed, the glyph moves one pixel but keeps its shape.
  EXPECT_TRUE(spins[0].Button().UpButton().Down());
  expectPairDrawn(spins[0], "held");
  input.mouseUp();
  expectPairDrawn(spins[0], "released");
}

// A short click steps once, at the release, on each arrow and from either
// start: focused or not, and with the pointer coming from the text.
TEST_F(SpinInputTest, AClickStepsOnceAtTheRelease) {
  const struct {
    bool upArrow;
    bool focusedFirst;
    const wchar_t* after;
  } cases[] = {
      {true, false, L"1"},
      {true, true, L"2"},
      {false, true, L"1"},
      {false, false, L"0"},
  };
  for (const auto& c : cases) {
    if (c.focusedFirst)
      input.click(spins[0].hwnd(), inText(spins[0]));
    else
      input.click(spins[1].hwnd(), inText(spins[1]));
    const std::wstring before = spins[0].Text();
    const double pressedAt = nowMs();
    input.mouseDown((c.upArrow ? up() : down()).hwnd, (c.upArrow ? up() : down()).at(4, 4));
    // The first repeat comes 400 ms after the press; only before it is the
    // text sure to be unchanged.
    if (nowMs() - pressedAt < 300) {
      EXPECT_EQ(spins[0].Text(), before) << "stepped at the press";
    }
    input.mouseUp();
    if (nowMs() - pressedAt < 350) {
      EXPECT_EQ(spins[0].Text(), c.after) << c.upArrow << c.focusedFirst;
    }
    EXPECT_EQ(GetFocus(), spins[0].hwnd()) << "the arrow focuses its spin edit";
  }
  // A press released off the arrow does not step.
  const std::wstring before = spins[0].Text();
  input.mouseDown(up().hwnd, up().at(4, 4));
  input.moveTo(host.hwnd(), {300, 250});
  input.mouseUp();
  EXPECT_EQ(spins[0].Text(), before);
}

// Held, an arrow steps 400 ms after the press, then every 100 ms, and once
// more at the release. The test's own clock bounds how many steps the held
// time allows; timers never come early, but a busy machine may deliver them
// late, so the count is checked against a range.
TEST_F(SpinInputTest, AHoldRepeatsWithinTheRangeItsDurationAllows) {
  for (const Arrow& arrow : {up(), down()}) {
    spins[0].SetValue(0);
    const double pressedAt = nowMs();
    input.mouseDown(arrow.hwnd, arrow.at(4, 4));
    input.runLoopFor(1000);
    const double heldMs = nowMs() - pressedAt;
    input.mouseUp();
    const int steps = arrow == up() ? spins[0].Value() : -spins[0].Value();
    // Ticks at 400, 500, ... ms, with a little slack for the timer's grain,
    // and one step at the release.
    const int mostTicks = 1 + static_cast<int>((heldMs + 30 - 400) / 90);
    EXPECT_LE(steps, mostTicks + 1) << heldMs << " ms held";
    EXPECT_GE(steps, 2) << "at least one repeat in " << heldMs << " ms, and the release";
    // Released, the repeating stops.
    const int32_t released = spins[0].Value();
    input.runLoopFor(300);
    EXPECT_EQ(spins[0].Value(), released);
    EXPECT_FALSE(spins[0].Button().UpButton().TimerEnabled());
    EXPECT_FALSE(spins[0].Button().DownButton().TimerEnabled());
  }
}

TEST_F(SpinInputTest, ARightButtonPressNeverSteps) {
  for (const Arrow& arrow : {up(), down()}) {
    POINT at = arrow.at(4, 4);
    ClientToScreen(arrow.hwnd, &at);
    INPUT press[2] = {};
    for (INPUT& in : press) {
      in.type = INPUT_MOUSE;
      in.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
      in.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    press[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_RIGHTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_RIGHTUP;
    ASSERT_EQ(SendInput(1, &press[0], sizeof(INPUT)), 1u);
    input.runLoopFor(700); // longer than the first repeat
    ASSERT_EQ(SendInput(1, &press[1], sizeof(INPUT)), 1u);
    input.moveTo(host.hwnd(), {300, 250}); // all of it has been dispatched by now
    EXPECT_EQ(spins[0].Text(), L"0");
  }
}

} // namespace
