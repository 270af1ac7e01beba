// The main window's ten spin edits under a user's real mouse and keyboard
// input (SendInput through the program's own loop): whatever is done in
// their text, their arrow pairs stay on the screen, at 96 dpi and after a
// move to a 144-dpi monitor.
#include "form_fixture.h"

#include "controls/spin_button.h"
#include "tests/support/real_input.h"

#include <commctrl.h>

#include <functional>
#include <string>

namespace sheetloom_test {
namespace {

const char* const kSpinEdits[] = {"width", "height", "border_width", "Ma",   "Pa",
                                  "zin",   "top",    "buttom",       "left", "right"};

class SpinEditsTest : public FormTest {
protected:
  SpinEditsTest() { EXPECT_TRUE(RealInput::bringToFront(form.hwnd())); }

  // Clicks the tab of the page that holds the control, as a user does.
  void showPageOf(std::string_view name) {
    HWND tabs = c("PageControl1");
    for (HWND h = c(name); h && h != form.hwnd(); h = GetParent(h)) {
      const auto* control = form.controls().find(h);
      if (!control || control->row->kind != ui::ControlKind::Page)
        continue;
      const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        TCITEMW item{};
        wchar_t caption[64] = {};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        if (caption != tk::widen(control->row->text))
          continue;
        RECT r{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        input.click(tabs, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      }
    }
    ASSERT_TRUE(IsWindowVisible(c(name))) << name;
  }

  POINT inText(std::string_view name) {
    RECT r{};
    GetClientRect(c(name), &r);
    return {4, r.bottom / 2};
  }

  // The pair of the spin edit as the screen shows it: the arrows' black
  // pixels and some button face, where an edit that painted over the pair
  // leaves its white background.
  void expectPairDrawn(std::string_view name, int blackPixels, const std::string& when) {
    UpdateWindow(form.hwnd());
    controls::TSpinButton& pair = spin(name).Button();
    for (controls::TTimerSpeedButton* b : {&pair.UpButton(), &pair.DownButton()}) {
      EXPECT_EQ(countPixels(pair.hwnd(), RGB(0, 0, 0), b->BoundsRect()), blackPixels)
          << name << ", " << when;
      EXPECT_GT(countPixels(pair.hwnd(), GetSysColor(COLOR_BTNFACE), b->BoundsRect()), 0)
          << name << ", " << when;
    }
  }

  // Clicks, typing, selection and Tab in each spin edit in turn.
  void useEverySpinEdit(int blackPixels) {
    for (const char* name : kSpinEdits) {
      showPageOf(name);
      const struct {
        const char* action;
        std::function<void()> act;
      } steps[] = {
          {"click into the text", [&] { input.click(c(name), inText(name)); }},
          {"typing", [&] { input.type(L"15"); }},
          {"selection with Shift+Home", [&] { input.key(VK_HOME, Shift); }},
          {"Up arrow key", [&] { input.key(VK_UP); }},
          {"click on the down arrow",
           [&] {
             const RECT down = spin(name).Button().DownButton().BoundsRect();
             input.click(spin(name).Button().hwnd(),
                         {(down.left + down.right) / 2, (down.top + down.bottom) / 2});
           }},
          {"Tab away", [&] { input.key(VK_TAB); }},
      };
      for (const auto& step : steps) {
        step.act();
        ASSERT_TRUE(input.ok()) << name << ", " << step.action;
        expectPairDrawn(name, blackPixels, step.action);
      }
      EXPECT_NE(GetFocus(), c(name)) << name << ": Tab moved the focus on";
    }
  }

  RealInput input;
};

TEST_F(SpinEditsTest, EveryArrowPairStaysDrawnWhileTheSpinEditsAreUsed) {
  useEverySpinEdit(1 + 3 + 5 + 7);
}

// On a 144-dpi monitor each spin edit is as high as the form's 21 pixels
// scaled (and never below its minimum), its pair 23 pixels wide, its arrows
// drawn half as large again; and they stay drawn while used.
TEST_F(SpinEditsTest, At144DpiThePairsAndArrowsScaleAndStayDrawn) {
  RECT suggested{20, 20, 1120, 1000};
  SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  pump();
  for (const char* name : kSpinEdits) {
    controls::TSpinEdit& s = spin(name);
    EXPECT_EQ(s.Dpi(), 144u) << name;
    const RECT outer = boundsIn(name, GetParent(c(name)));
    EXPECT_EQ(outer.bottom - outer.top, 32) << name;
    EXPECT_GE(outer.bottom - outer.top, s.MinHeight()) << name;
    const RECT pair = rectIn(s.Button().hwnd(), c(name));
    EXPECT_EQ(pair.right - pair.left, 23) << name;
    EXPECT_EQ(pair.left, (outer.right - outer.left) - 23 - 5) << name;
    EXPECT_EQ(pair.bottom - pair.top, 32 - 5) << name;
  }
  useEverySpinEdit(1 + 3 + 5 + 7 + 9 + 11);
}

} // namespace
} // namespace sheetloom_test
