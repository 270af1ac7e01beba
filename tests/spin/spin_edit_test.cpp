#include "spin_test_support.h"

#include "controls/beep.h"
#include "controls/spin_button.h"
#include "controls/spin_edit.h"

#include "toolkit/errors.h"

#include <imm.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace spintest;

int g_beeps = 0;

// The beep the spin edits under test are made with: counted, not heard.
class CountedBeep final : public controls::Beep {
public:
  void sound(UINT type) const noexcept override {
    EXPECT_EQ(type, 0u);
    ++g_beeps;
  }
};
const CountedBeep kCountedBeep;

class SpinEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_beeps = 0;
    spin.create(host.hwnd(), 101, 10, 10, 57, 21, font.get());
    other.create(host.hwnd(), 102, 10, 60, 57, 21, font.get());
  }

  void type(const std::wstring& chars) { typeChars(spin.hwnd(), chars); }
  void key(WPARAM vk) { SendMessageW(spin.hwnd(), WM_KEYDOWN, vk, 1); }
  void selectAll() { SendMessageW(spin.hwnd(), EM_SETSEL, 0, -1); }
  std::pair<DWORD, DWORD> selection() {
    DWORD from = 0, to = 0;
    SendMessageW(spin.hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    return {from, to};
  }
  Arrow upButton() { return arrowOf(spin.Button().UpButton()); }
  Arrow downButton() { return arrowOf(spin.Button().DownButton()); }
  void press(const Arrow& button, UINT down, int x = 3, int y = 3) {
    sendTo(button, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : 0, x, y);
  }

  tk::UniqueFont font = twelvePixelFont();
  Host host;
  controls::TSpinEdit spin{kCountedBeep};
  controls::TSpinEdit other{kCountedBeep};
};

TEST_F(SpinEditTest, StartsAtZeroWithItsDefaults) {
  controls::TSpinEdit fresh;
  EXPECT_EQ(fresh.Text(), L"0");
  EXPECT_EQ(fresh.Value(), 0);
  EXPECT_EQ(fresh.Increment(), 1);
  EXPECT_TRUE(fresh.EditorEnabled());
  EXPECT_TRUE(fresh.AutoSelect());
  EXPECT_FALSE(fresh.ReadOnly());
  EXPECT_EQ(spin.Text(), L"0");
  LONG style = GetWindowLongW(spin.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_TRUE(style & WS_TABSTOP);
  EXPECT_EQ(spin.Button().FocusControl(), spin.hwnd());
}

TEST_F(SpinEditTest, ValueReadsTheTextOrMinValue) {
  spin.SetText(L"abc");
  EXPECT_EQ(spin.Value(), 0);
  spin.SetMinValue(5);
  spin.SetMaxValue(5);
  EXPECT_EQ(spin.Value(), 5);
  EXPECT_EQ(spin.Text(), L"abc"); // reading leaves the text alone
  spin.SetValue(7);               // equal bounds never clamp
  EXPECT_EQ(spin.Text(), L"7");
  spin.SetText(L" $1F");
  EXPECT_EQ(spin.Value(), 31);
}

TEST_F(SpinEditTest, WritingValueAppliesTheRangeRule) {
  struct Case {
    int32_t minValue, maxValue, value;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {0, 0, -5, L"-5"},
      {1, 10, 0, L"1"},
      {1, 10, 11, L"10"},
      {1, 10, 4, L"4"},
      {10, 5, 7, L"10"},
      {10, 5, 12, L"5"},
      {0, 0, INT32_MIN, L"-2147483648"},
  };
  for (const auto& c : cases) {
    spin.SetMinValue(c.minValue);
    spin.SetMaxValue(c.maxValue);
    spin.SetValue(c.value);
    EXPECT_EQ(spin.Text(), c.shown) << c.value << " in " << c.minValue << ".." << c.maxValue;
  }
}

TEST_F(SpinEditTest, ChangeNotificationOnlyWhenTheTextChanges) {
  int changes = 0;
  spin.OnChange = [&](controls::TSpinEdit&) { ++changes; };
  spin.SetValue(0);
  EXPECT_EQ(changes, 0);
  spin.SetValue(3);
  EXPECT_EQ(changes, 1);
  key(VK_UP);
  EXPECT_EQ(changes, 2);
  type(L"5");
  EXPECT_EQ(changes, 3);
  type(L"x"); // rejected
  EXPECT_EQ(changes, 3);
}

// However the characters arrive: typed, sent one by one by an input method
// (WM_IME_CHAR), or committed by one as a string. The spin edit keeps the input
// method away, as numeric up-down controls do, so that hiragana mode types
// plain digits; forced on, it still types nothing but what the filter takes.
TEST_F(SpinEditTest, TypingFilterAcceptsDigitsSignsAndRejectsWithABeep) {
  EXPECT_EQ(ImmGetContext(spin.hwnd()), nullptr) << "no input method in a spin edit";
  SetFocus(spin.hwnd());
  ImmAssociateContextEx(spin.hwnd(), nullptr, IACE_DEFAULT);
  const struct {
    const char* how;
    std::function<void(const std::wstring&)> send;
  } routes[] = {
      {"typed", [&](const std::wstring& chars) { type(chars); }},
      {"WM_IME_CHAR",
       [&](const std::wstring& chars) {
         for (wchar_t ch : chars)
           SendMessageW(spin.hwnd(), WM_IME_CHAR, ch, 1);
       }},
      {"committed by the IME",
       [&](const std::wstring& chars) { ASSERT_TRUE(commitThroughIme(spin.hwnd(), chars)); }},
  };
  for (const auto& route : routes) {
    SCOPED_TRACE(route.how);
    int changes = 0;
    spin.OnChange = [&](controls::TSpinEdit&) { ++changes; };
    g_beeps = 0;
    selectAll();
    route.send(L"-12a+ 3");
    EXPECT_EQ(spin.Text(), L"-12+3");
    EXPECT_EQ(g_beeps, 2);
    EXPECT_EQ(changes, 5);
    route.send(L"\xFF11\xFF12"); // full-width digits: a beep each, no change
    selectAll();                 // also where the text is selected
    route.send(L"\x30FC\x3000"); // a prolonged sound mark and an ideographic space
    EXPECT_EQ(spin.Text(), L"-12+3");
    EXPECT_EQ(selection(), (std::pair<DWORD, DWORD>{0, 5}));
    EXPECT_EQ(g_beeps, 6);
    EXPECT_EQ(changes, 5);
    spin.OnChange = nullptr;
  }
  g_beeps = 0;
  selectAll();
  type(L"-12a+ 3");
  type(L"\b");
  EXPECT_EQ(spin.Text(), L"-12+");
  type(L"\r");
  EXPECT_EQ(spin.Text(), L"-12+");
  EXPECT_EQ(g_beeps, 3);
  type(L"\xFF15"); // a full-width digit
  EXPECT_EQ(g_beeps, 4);
  EXPECT_EQ(spin.Text(), L"-12+");
}

TEST_F(SpinEditTest, TypingTheLocaleDecimalSeparatorIsAccepted) {
  wchar_t sep[8] = {};
  GetLocaleInfoW(GetThreadLocale(), LOCALE_SDECIMAL, sep, 8);
  const wchar_t d = sep[0] ? sep[0] : L'.';
  selectAll();
  type(std::wstring(L"1") + d + L"5");
  EXPECT_EQ(spin.Text(), std::wstring(L"1") + d + L"5");
  EXPECT_EQ(g_beeps, 0);
  EXPECT_EQ(spin.Value(), 0); // a text holding the separator never converts
}

TEST_F(SpinEditTest, EditorDisabledRejectsTypingButStillSteps) {
  spin.SetValue(42);
  spin.SetEditorEnabled(false);
  type(L"7\b+");
  EXPECT_EQ(spin.Text(), L"42");
  EXPECT_EQ(g_beeps, 3);
  type(L"\x01"); // Ctrl+A: a control character still does its work
  EXPECT_EQ(g_beeps, 3);
  key(VK_UP);
  EXPECT_EQ(spin.Text(), L"43");
  press(upButton(), WM_LBUTTONDOWN);
  press(upButton(), WM_LBUTTONUP);
  EXPECT_EQ(spin.Text(), L"44");
}

TEST_F(SpinEditTest, PasteAndCutOnlyWhileEditable) {
  ASSERT_TRUE(setClipboardText(host.hwnd(), L"ab c"));
  spin.SetValue(12);

  spin.SetEditorEnabled(false);
  selectAll();
  SendMessageW(spin.hwnd(), WM_PASTE, 0, 0);
  type(L"\x16"); // Ctrl+V
  SendMessageW(spin.hwnd(), WM_CUT, 0, 0);
  EXPECT_EQ(spin.Text(), L"12");
  EXPECT_EQ(clipboardText(host.hwnd()), L"ab c");
  SendMessageW(spin.hwnd(), WM_COPY, 0, 0); // copying is never blocked
  EXPECT_EQ(clipboardText(host.hwnd()), L"12");
  EXPECT_EQ(g_beeps, 0);

  ASSERT_TRUE(setClipboardText(host.hwnd(), L"ab c"));
  spin.SetEditorEnabled(true);
  spin.SetReadOnly(true);
  selectAll();
  SendMessageW(spin.hwnd(), WM_PASTE, 0, 0);
  SendMessageW(spin.hwnd(), WM_CUT, 0, 0);
  EXPECT_EQ(spin.Text(), L"12");
  EXPECT_EQ(g_beeps, 0);

  spin.SetReadOnly(false);
  selectAll();
  SendMessageW(spin.hwnd(), WM_PASTE, 0, 0);
  EXPECT_EQ(spin.Text(), L"ab c"); // pasted text is not filtered
  EXPECT_EQ(spin.Value(), 0);
  key(VK_UP);
  EXPECT_EQ(spin.Text(), L"1");
  selectAll();
  SendMessageW(spin.hwnd(), WM_CUT, 0, 0);
  EXPECT_EQ(spin.Text(), L"");
  EXPECT_EQ(clipboardText(host.hwnd()), L"1");
}

TEST_F(SpinEditTest, ArrowKeysStepAndWrap) {
  key(VK_DOWN);
  EXPECT_EQ(spin.Text(), L"-1");
  spin.SetValue(2147483647);
  key(VK_UP);
  EXPECT_EQ(spin.Text(), L"-2147483648");
  key(VK_DOWN);
  EXPECT_EQ(spin.Text(), L"2147483647");
  spin.SetIncrement(5);
  spin.SetValue(3);
  key(VK_UP);
  EXPECT_EQ(spin.Text(), L"8");
  spin.SetIncrement(0);
  spin.SetText(L"007");
  key(VK_UP);
  EXPECT_EQ(spin.Text(), L"7");
  for (WPARAM other : {VK_PRIOR, VK_NEXT, VK_HOME, VK_END})
    key(other);
  SendMessageW(spin.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(20, 20));
  SendMessageW(spin.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(20, 20));
  EXPECT_EQ(spin.Text(), L"7");
  EXPECT_EQ(g_beeps, 0);
}

TEST_F(SpinEditTest, ArrowKeysStillReachTheEdit) {
  // With Increment 0 a step leaves the text and its selection alone, so a
  // collapsed selection shows that the edit itself moved its caret.
  spin.SetIncrement(0);
  spin.SetText(L"77");
  for (WPARAM vk : {VK_UP, VK_DOWN}) {
    selectAll();
    key(vk);
    EXPECT_EQ(spin.Text(), L"77");
    const auto caret = selection();
    EXPECT_EQ(caret.first, caret.second) << vk;
  }
}

TEST_F(SpinEditTest, ReadOnlyStepsBeepAndChangeNothing) {
  spin.SetValue(5);
  spin.SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongW(spin.hwnd(), GWL_STYLE) & ES_READONLY);
  key(VK_UP);
  key(VK_DOWN);
  for (const Arrow& b : {upButton(), downButton()}) {
    press(b, WM_LBUTTONDOWN);
    press(b, WM_LBUTTONUP);
  }
  EXPECT_EQ(spin.Text(), L"5");
  EXPECT_EQ(g_beeps, 4);
}

TEST_F(SpinEditTest, FocusEntrySelectsAllUnlessPressedOnTheEdit) {
  spin.SetText(L"12345");
  SetFocus(spin.hwnd());
  EXPECT_EQ(selection(), std::make_pair(DWORD{0}, DWORD{5}));

  SetFocus(other.hwnd());
  SendMessageW(spin.hwnd(), EM_SETSEL, 2, 2);
  spin.SetAutoSelect(false);
  SetFocus(spin.hwnd());
  EXPECT_EQ(selection(), std::make_pair(DWORD{2}, DWORD{2}));

  spin.SetAutoSelect(true);
  SetFocus(other.hwnd());
  SendMessageW(spin.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 3));
  SendMessageW(spin.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(1, 3));
  EXPECT_EQ(GetFocus(), spin.hwnd());
  const auto caret = selection();
  EXPECT_EQ(caret.first, caret.second); // the press placed the caret, nothing selected

  // A press on an arrow focuses the edit with its whole text selected, and
  // steps at the release.
  SetFocus(other.hwnd());
  press(upButton(), WM_LBUTTONDOWN);
  EXPECT_EQ(GetFocus(), spin.hwnd());
  EXPECT_EQ(selection(), std::make_pair(DWORD{0}, DWORD{5}));
  EXPECT_EQ(spin.Text(), L"12345");
  press(upButton(), WM_LBUTTONUP);
  EXPECT_EQ(spin.Text(), L"12346");
}

TEST_F(SpinEditTest, FocusExitWritesBackOnlyWhatTheRangeChanges) {
  struct Case {
    int32_t minValue, maxValue;
    const wchar_t* typed;
    const wchar_t* after;
  };
  const Case cases[] = {
      {1, 10, L"50", L"10"}, {1, 10, L"abc", L"abc"}, {1, 10, L"007", L"007"},
      {1, 10, L"-3", L"1"},  {0, 0, L"50", L"50"},    {0, 0, L"007", L"007"},
      {0, 0, L"+5", L"+5"},  {0, 0, L"abc", L"abc"},
  };
  for (const auto& c : cases) {
    SetFocus(spin.hwnd());
    spin.SetMinValue(c.minValue);
    spin.SetMaxValue(c.maxValue);
    spin.SetText(c.typed);
    SetFocus(other.hwnd());
    EXPECT_EQ(spin.Text(), c.after) << c.typed;
  }
}

TEST_F(SpinEditTest, ArrowButtonsStepAtTheReleaseOverThem) {
  press(upButton(), WM_LBUTTONDOWN);
  EXPECT_TRUE(spin.Button().UpButton().Down());
  EXPECT_EQ(spin.Text(), L"0");
  press(upButton(), WM_LBUTTONUP);
  EXPECT_FALSE(spin.Button().UpButton().Down());
  EXPECT_EQ(spin.Text(), L"1");

  press(downButton(), WM_LBUTTONDOWN);
  press(downButton(), WM_LBUTTONUP);
  EXPECT_EQ(spin.Text(), L"0");

  // Released off the button: no step.
  press(upButton(), WM_LBUTTONDOWN);
  sendTo(upButton(), WM_MOUSEMOVE, MK_LBUTTON, 40, 3);
  EXPECT_FALSE(spin.Button().UpButton().Down());
  sendTo(upButton(), WM_LBUTTONUP, 0, 40, 3);
  EXPECT_EQ(spin.Text(), L"0");
  EXPECT_FALSE(spin.Button().UpButton().TimerEnabled());

  // Other mouse buttons never step.
  for (auto [down, up] :
       {std::pair{WM_RBUTTONDOWN, WM_RBUTTONUP}, std::pair{WM_MBUTTONDOWN, WM_MBUTTONUP}}) {
    press(upButton(), down);
    pumpFor(600);
    press(upButton(), up);
  }
  EXPECT_EQ(spin.Text(), L"0");
  EXPECT_EQ(g_beeps, 0);
}

TEST_F(SpinEditTest, HoldingAnArrowRepeatsAfter400ThenEvery100Ms) {
  std::vector<double> steps;
  double pressedAt = 0;
  spin.OnChange = [&](controls::TSpinEdit&) { steps.push_back(nowMs() - pressedAt); };
  pressedAt = nowMs();
  press(upButton(), WM_LBUTTONDOWN);
  pumpFor(1000);
  const size_t held = steps.size();
  press(upButton(), WM_LBUTTONUP);
  ASSERT_EQ(steps.size(), held + 1); // once more at the release
  pumpFor(300);
  EXPECT_EQ(steps.size(), held + 1); // and the release stopped the timer
  EXPECT_FALSE(spin.Button().UpButton().TimerEnabled());
  EXPECT_EQ(spin.Value(), static_cast<int32_t>(held + 1));

  // Ideally 400, 500, ... 1000 ms: seven steps. Timers are coarse under
  // load, so only the shape is checked.
  ASSERT_GE(held, 3u);
  EXPECT_LE(held, 8u);
  EXPECT_GE(steps[0], 350.0);
  for (size_t i = 1; i < held; ++i)
    EXPECT_GE(steps[i] - steps[i - 1], 60.0) << i;

  // A press shorter than 400 ms steps exactly once.
  steps.clear();
  pressedAt = nowMs();
  press(downButton(), WM_LBUTTONDOWN);
  pumpFor(250);
  press(downButton(), WM_LBUTTONUP);
  pumpFor(300);
  EXPECT_EQ(steps.size(), 1u);

  // A press whose capture goes (another window takes it, or a modal window
  // cancels the mode first) ends there: no step, and the timer stops.
  const struct {
    const char* how;
    std::function<void()> loseCapture;
  } losses[] = {
      {"another window takes the capture", [&] { SetCapture(other.hwnd()); }},
      {"WM_CANCELMODE", [&] { SendMessageW(spin.Button().hwnd(), WM_CANCELMODE, 0, 0); }},
  };
  for (const auto& loss : losses) {
    for (const Arrow& b : {upButton(), downButton()}) {
      steps.clear();
      press(b, WM_LBUTTONDOWN);
      pumpFor(50);
      loss.loseCapture();
      EXPECT_NE(GetCapture(), spin.Button().hwnd()) << loss.how;
      EXPECT_FALSE(spin.Button().UpButton().Down()) << loss.how;
      EXPECT_FALSE(spin.Button().DownButton().Down()) << loss.how;
      EXPECT_FALSE(spin.Button().UpButton().TimerEnabled()) << loss.how;
      EXPECT_FALSE(spin.Button().DownButton().TimerEnabled()) << loss.how;
      pumpFor(600);
      EXPECT_TRUE(steps.empty()) << loss.how;
      ReleaseCapture();
      press(b, WM_LBUTTONUP); // the late release over the button does not step either
      EXPECT_TRUE(steps.empty()) << loss.how;
    }
  }
}

TEST_F(SpinEditTest, DraggedOffTheHeldButtonTicksDoNothing) {
  press(upButton(), WM_LBUTTONDOWN);
  sendTo(upButton(), WM_MOUSEMOVE, MK_LBUTTON, 40, 40);
  pumpFor(700);
  EXPECT_EQ(spin.Text(), L"0");
  sendTo(upButton(), WM_MOUSEMOVE, MK_LBUTTON, 3, 3);
  pumpFor(350);
  EXPECT_GE(spin.Value(), 1);
  press(upButton(), WM_LBUTTONUP);
}

int g_errors = 0;
void countError(std::wstring_view message) {
  EXPECT_EQ(message, L"step failed");
  ++g_errors;
}

TEST_F(SpinEditTest, AnErrorInARepeatedClickStopsTheRepeating) {
  g_errors = 0;
  const tk::ErrorDisplay oldDisplay = tk::setErrorDisplay(countError);
  int attempts = 0;
  spin.OnChange = [&](controls::TSpinEdit&) {
    ++attempts;
    throw tk::Error("step failed");
  };
  press(upButton(), WM_LBUTTONDOWN);
  pumpFor(900);
  EXPECT_EQ(attempts, 1);
  EXPECT_EQ(g_errors, 1);
  EXPECT_FALSE(spin.Button().UpButton().TimerEnabled());
  spin.OnChange = nullptr;
  press(upButton(), WM_LBUTTONUP);
  tk::setErrorDisplay(oldDisplay);
}

class CountingSpinEdit : public controls::TSpinEdit {
public:
  void StepUp(tk::Window*) override { ++ups; }
  void StepDown(tk::Window*) override { ++downs; }
  int ups = 0, downs = 0;
};

TEST_F(SpinEditTest, ADerivedClassStepsForButtonsAndKeysAlike) {
  CountingSpinEdit counting;
  counting.create(host.hwnd(), 103, 100, 10, 57, 21, font.get());
  SendMessageW(counting.hwnd(), WM_KEYDOWN, VK_UP, 1);
  SendMessageW(counting.hwnd(), WM_KEYDOWN, VK_DOWN, 1);
  for (const Arrow& b :
       {arrowOf(counting.Button().UpButton()), arrowOf(counting.Button().DownButton())}) {
    press(b, WM_LBUTTONDOWN);
    press(b, WM_LBUTTONUP);
  }
  EXPECT_EQ(counting.ups, 2);
  EXPECT_EQ(counting.downs, 2);
  EXPECT_EQ(counting.Text(), L"0");
}

TEST_F(SpinEditTest, DialogNavigationTabsAwayAndEnterBeeps) {
  SetFocus(spin.hwnd());
  spin.SetText(L"5");
  SendMessageW(spin.hwnd(), EM_SETSEL, 1, 1);
  PostMessageW(spin.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
  pumpFor(50, host.hwnd());
  EXPECT_EQ(spin.Text(), L"5");
  EXPECT_EQ(g_beeps, 1);

  PostMessageW(spin.hwnd(), WM_KEYDOWN, '7', 1);
  pumpFor(50, host.hwnd());
  EXPECT_EQ(spin.Text(), L"57");

  PostMessageW(spin.hwnd(), WM_KEYDOWN, VK_UP, 1);
  pumpFor(50, host.hwnd());
  EXPECT_EQ(spin.Text(), L"58");
  EXPECT_EQ(GetFocus(), spin.hwnd());

  PostMessageW(spin.hwnd(), WM_KEYDOWN, VK_TAB, 1);
  pumpFor(50, host.hwnd());
  EXPECT_EQ(GetFocus(), other.hwnd());
  EXPECT_EQ(spin.Text(), L"58");

  PostMessageW(other.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
  pumpFor(50, host.hwnd());
  EXPECT_TRUE(IsWindow(host.hwnd()));
  EXPECT_EQ(g_beeps, 1);
}

// A top-level window with an enabled default push button, as a dialog has.
class DialogHost : public Host {
public:
  static const int kDefaultId = 301;
  int defaultClicks = 0;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == DM_GETDEFID)
      return MAKELRESULT(kDefaultId, DC_HASDEFID);
    if (msg == WM_COMMAND && LOWORD(wp) == kDefaultId)
      ++defaultClicks;
    return Host::handleMessage(msg, wp, lp);
  }
};

TEST_F(SpinEditTest, EnterGoesToADefaultButtonWhenThereIsOne) {
  DialogHost dialog;
  HWND ok = CreateWindowExW(
      0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 200, 10, 60, 24, dialog.hwnd(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(DialogHost::kDefaultId)), nullptr, nullptr);
  controls::TSpinEdit inDialog{kCountedBeep};
  inDialog.create(dialog.hwnd(), 108, 10, 10, 57, 21, font.get());
  SetFocus(inDialog.hwnd());
  PostMessageW(inDialog.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
  pumpFor(50, dialog.hwnd());
  EXPECT_EQ(dialog.defaultClicks, 1);
  EXPECT_EQ(g_beeps, 0);
  EXPECT_EQ(inDialog.Text(), L"0");

  // A disabled default button takes nothing: Enter reaches the spin edit.
  EnableWindow(ok, FALSE);
  SetFocus(inDialog.hwnd());
  PostMessageW(inDialog.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
  pumpFor(50, dialog.hwnd());
  EXPECT_EQ(dialog.defaultClicks, 1);
  EXPECT_EQ(g_beeps, 1);
  EXPECT_EQ(inDialog.Text(), L"0");
}

TEST_F(SpinEditTest, LayoutOfTheWindowsSpinEdit) {
  {
    tk::WindowDc screen(nullptr);
    tk::SelectScope select(screen.get(), font.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.get(), &tm);
    ASSERT_EQ(tm.tmHeight, 12);
  }
  EXPECT_EQ(spin.MinHeight(), 21);
  const RECT outer = rectIn(spin.hwnd(), host.hwnd());
  EXPECT_EQ(outer.right - outer.left, 57);
  EXPECT_EQ(outer.bottom - outer.top, 21);

  const HWND pair = spin.Button().hwnd();
  EXPECT_EQ(GetParent(pair), spin.hwnd());
  const RECT p = rectIn(pair, spin.hwnd());
  EXPECT_EQ(p.left, 57 - 15 - 5);
  EXPECT_EQ(p.top, 0);
  EXPECT_EQ(p.right - p.left, 15);
  EXPECT_EQ(p.bottom - p.top, 16);
  const RECT up = upButton().bounds;
  const RECT down = downButton().bounds;
  EXPECT_EQ(up.left, 0);
  EXPECT_EQ(up.top, 0);
  EXPECT_EQ(up.right - up.left, 15);
  EXPECT_EQ(up.bottom - up.top, 8);
  EXPECT_EQ(down.left, 0);
  EXPECT_EQ(down.top, 7);
  EXPECT_EQ(down.right - down.left, 15);
  EXPECT_EQ(down.bottom - down.top, 9);

  // The text stops 2 pixels before the pair (the edit may add its margins).
  RECT client{}, text{};
  GetClientRect(spin.hwnd(), &client);
  SendMessageW(spin.hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  EXPECT_LE(text.right, client.right - 15 - 2);
  EXPECT_GE(text.right, client.right - 15 - 2 - 4);

  // A narrower spin edit (the stacking order's) keeps the same pair.
  controls::TSpinEdit narrow;
  narrow.create(host.hwnd(), 104, 100, 100, 41, 21, font.get());
  const RECT q = rectIn(narrow.Button().hwnd(), narrow.hwnd());
  EXPECT_EQ(q.left, 41 - 15 - 5);
  EXPECT_EQ(q.bottom - q.top, 16);
}

TEST_F(SpinEditTest, TheFlatBorderPlacesThePairFromRowOne) {
  controls::TSpinEdit flat;
  flat.SetCtl3D(false);
  flat.create(host.hwnd(), 107, 100, 10, 57, 21, font.get());
  EXPECT_FALSE(GetWindowLongW(flat.hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  RECT p = rectIn(flat.Button().hwnd(), flat.hwnd());
  EXPECT_EQ(p.left, 57 - 15);
  EXPECT_EQ(p.top, 1);
  EXPECT_EQ(p.right - p.left, 15);
  EXPECT_EQ(p.bottom - p.top, 21 - 3);

  // Switching the border on a live control moves the pair at once.
  flat.SetCtl3D(true);
  EXPECT_TRUE(GetWindowLongW(flat.hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  p = rectIn(flat.Button().hwnd(), flat.hwnd());
  EXPECT_EQ(p.left, 57 - 15 - 5);
  EXPECT_EQ(p.top, 0);
  EXPECT_EQ(p.bottom - p.top, 21 - 5);
}

TEST_F(SpinEditTest, TooSmallAHeightGrowsToTheMinimum) {
  controls::TSpinEdit small;
  small.create(host.hwnd(), 105, 100, 100, 57, 8, font.get());
  EXPECT_EQ(rectIn(small.hwnd(), host.hwnd()).bottom - rectIn(small.hwnd(), host.hwnd()).top,
            small.MinHeight());
  MoveWindow(small.hwnd(), 100, 100, 80, 5, TRUE);
  RECT r = rectIn(small.hwnd(), host.hwnd());
  EXPECT_EQ(r.bottom - r.top, 21);
  EXPECT_EQ(r.right - r.left, 80);
  EXPECT_EQ(rectIn(small.Button().hwnd(), small.hwnd()).left, 80 - 15 - 5);
  MoveWindow(small.hwnd(), 100, 100, 80, 40, TRUE);
  r = rectIn(small.hwnd(), host.hwnd());
  EXPECT_EQ(r.bottom - r.top, 40); // taller is allowed
  EXPECT_EQ(rectIn(small.Button().hwnd(), small.hwnd()).bottom -
                rectIn(small.Button().hwnd(), small.hwnd()).top,
            35);

  // A larger font raises the minimum, and with AutoSize the height follows.
  tk::UniqueFont big(CreateFontW(24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH, tk::widen("IPA Pゴシック").c_str()));
  small.SetFont(big.get());
  EXPECT_GT(small.MinHeight(), 21);
  r = rectIn(small.hwnd(), host.hwnd());
  EXPECT_EQ(r.bottom - r.top, small.MinHeight());
  small.SetFont(font.get());
  r = rectIn(small.hwnd(), host.hwnd());
  EXPECT_EQ(r.bottom - r.top, 21);
}

// A spin edit on a monitor of another DPI, with the window's font made for
// that DPI: the minimum height comes from that font, the screen's font and
// the border at that DPI; the pair and its arrows grow with it, the arrows
// drawn in whole pixels (rows of 1, 3, 5, ... black pixels).
TEST_F(SpinEditTest, MinimumHeightPairAndArrowsFollowTheDpi) {
  const struct {
    UINT dpi;
    int fontHeight, textHeight, minHeight, pairWidth, glyphWidth, glyphHeight, blackPixels;
  } cases[] = {
      {144, 18, 18, 28, 23, 13, 8, 1 + 3 + 5 + 7 + 9 + 11},
      {96, 12, 12, 21, 15, 9, 6, 1 + 3 + 5 + 7},
      {192, 24, 23, 34, 30, 17, 10, 64},
  };
  controls::TSpinEdit scaled;
  scaled.create(host.hwnd(), 108, 100, 10, 80, 21, font.get());
  for (const auto& c : cases) {
    tk::UniqueFont sized(CreateFontW(
        c.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, tk::widen("IPA Pゴシック").c_str()));
    {
      tk::WindowDc screen(nullptr);
      tk::SelectScope select(screen.get(), sized.get());
      TEXTMETRICW tm{};
      GetTextMetricsW(screen.get(), &tm);
      ASSERT_EQ(tm.tmHeight, c.textHeight) << c.dpi;
    }
    scaled.SetDpi(c.dpi);
    scaled.SetFont(sized.get());
    EXPECT_EQ(scaled.Dpi(), c.dpi);
    // The screen's font is 18 pixels high at 96 dpi, 36 at 192; the border
    // stays 1 pixel: at 192 dpi 23 + 23 / 4 + 4 + 2 (with the screen's font
    // at 96 dpi it would be 23 + 18 / 4 + 4 + 2).
    EXPECT_EQ(scaled.MinHeight(), c.minHeight) << c.dpi;
    MoveWindow(scaled.hwnd(), 100, 10, 80, 5, TRUE);
    const RECT outer = rectIn(scaled.hwnd(), host.hwnd());
    EXPECT_EQ(outer.bottom - outer.top, scaled.MinHeight()) << c.dpi << ": grows to the minimum";
    EXPECT_GT(scaled.MinHeight(), c.fontHeight + 4) << c.dpi;

    const RECT pair = rectIn(scaled.Button().hwnd(), scaled.hwnd());
    EXPECT_EQ(pair.right - pair.left, c.pairWidth) << c.dpi;
    EXPECT_EQ(pair.left, 80 - c.pairWidth - 5) << c.dpi;
    EXPECT_EQ(pair.bottom - pair.top, outer.bottom - outer.top - 5) << c.dpi;
    for (HBITMAP glyph : {scaled.Button().UpGlyph(), scaled.Button().DownGlyph()}) {
      BITMAP bm{};
      ASSERT_TRUE(GetObjectW(glyph, sizeof bm, &bm));
      EXPECT_EQ(bm.bmWidth, c.glyphWidth) << c.dpi;
      EXPECT_EQ(bm.bmHeight, c.glyphHeight) << c.dpi;
    }
    UpdateWindow(host.hwnd());
    for (controls::TTimerSpeedButton* b :
         {&scaled.Button().UpButton(), &scaled.Button().DownButton()}) {
      EXPECT_EQ(countPixels(b->Owner(), RGB(0, 0, 0), b->BoundsRect()), c.blackPixels) << c.dpi;
      EXPECT_EQ(countPixels(b->Owner(), RGB(128, 128, 0), b->BoundsRect()), 0)
          << c.dpi << ": olive is transparent";
    }
  }
  // A glyph of the user's own stays as it is at any DPI.
  tk::UniqueBitmap own(CreateBitmap(10, 5, 1, 32, nullptr));
  scaled.Button().SetUpGlyph(own.get());
  scaled.SetDpi(144);
  BITMAP bm{};
  ASSERT_TRUE(GetObjectW(scaled.Button().UpGlyph(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 10);
  ASSERT_TRUE(GetObjectW(scaled.Button().DownGlyph(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 13);
}

TEST_F(SpinEditTest, TheArrowGlyphsAreDrawnTransparent) {
  UpdateWindow(host.hwnd());
  pumpFor(50);
  for (const Arrow& b : {upButton(), downButton()}) {
    EXPECT_EQ(countPixels(b.hwnd, RGB(128, 128, 0), b.bounds), 0);
    EXPECT_EQ(countPixels(b.hwnd, RGB(0, 0, 0), b.bounds), 1 + 3 + 5 + 7);
  }
}

TEST_F(SpinEditTest, DestroyingTheEditFirstIsSafe) {
  auto doomed = std::make_unique<controls::TSpinEdit>();
  doomed->create(host.hwnd(), 106, 100, 100, 57, 21, font.get());
  SetFocus(doomed->hwnd());
  press(arrowOf(doomed->Button().UpButton()), WM_LBUTTONDOWN);
  DestroyWindow(doomed->hwnd()); // the window goes first, then the object
  EXPECT_EQ(doomed->hwnd(), nullptr);
  pumpFor(500);
  doomed.reset();
  pumpFor(100);
}

} // namespace
