// The main window's ten spin edits under a user's real mouse and keyboard
// input (SendInput through the program's own loop): whatever is done in
// their text, their arrow pairs stay on the screen, at 96 dpi and after a
// move to a 144-dpi monitor.
#include "tests/support/form_fixture.h"

#include "controls/spin_button.h"
#include "tests/support/real_input.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sheetloom_test {
namespace {

using C = ui::ControlId;

const ui::ControlId kSpinEdits[] = {C::width, C::height, C::border_width, C::Ma,   C::Pa,
                                    C::zin,   C::top,    C::buttom,       C::left, C::right};

class SpinEditsTest : public FormTest {
protected:
  // Clicks the tab of the page that holds the control, as a user does.
  void showPageOf(ui::ControlId name) {
    HWND tabs = c(C::PageControl1);
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

  POINT inText(ui::ControlId name) {
    RECT r{};
    GetClientRect(c(name), &r);
    return {4, r.bottom / 2};
  }

  // The pair of the spin edit as the screen shows it: the arrows' pixels in
  // the button-text colour (black in the standard scheme) and some button
  // face, where an edit that painted over the pair leaves its background.
  void expectPairDrawn(ui::ControlId name, int blackPixels, const std::string& when) {
    UpdateWindow(form.hwnd());
    controls::TSpinButton& pair = spin(name).Button();
    for (controls::TTimerSpeedButton* b : {&pair.UpButton(), &pair.DownButton()}) {
      // Inside the button's 2-pixel edges, which may take the text colour too.
      RECT inside = b->BoundsRect();
      InflateRect(&inside, -2, -2);
      EXPECT_EQ(countPixels(pair.hwnd(), GetSysColor(COLOR_BTNTEXT), inside), blackPixels)
          << name << ", " << when;
      EXPECT_GT(countPixels(pair.hwnd(), GetSysColor(COLOR_BTNFACE), b->BoundsRect()), 0)
          << name << ", " << when;
    }
  }

  // Clicks, typing, selection and Tab in each spin edit in turn.
  void useEverySpinEdit(int blackPixels) {
    for (ui::ControlId name : kSpinEdits) {
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
};

// A colour scheme set while the program runs, and the one it replaced.
class SchemeScope {
public:
  explicit SchemeScope(const std::vector<std::pair<int, COLORREF>>& colours) {
    for (const auto& [element, colour] : colours) {
      elements_.push_back(element);
      old_.push_back(GetSysColor(element));
      new_.push_back(colour);
    }
    if (!elements_.empty())
      SetSysColors(static_cast<int>(elements_.size()), elements_.data(), new_.data());
  }
  SchemeScope(const SchemeScope&) = delete;
  SchemeScope& operator=(const SchemeScope&) = delete;
  ~SchemeScope() {
    if (!elements_.empty())
      SetSysColors(static_cast<int>(elements_.size()), elements_.data(), old_.data());
  }

private:
  std::vector<int> elements_;
  std::vector<COLORREF> old_, new_;
};

// Every caption and text of every page shows in the scheme's text colours.
// A tab's caption must also stand out from its button, whatever colour the
// control fills a selected one with.
void expectEveryCaptionShown(ui::TForm1& form, const char* scheme) {
  const COLORREF texts[] = {GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_WINDOWTEXT)};
  const auto textPixels = [&](HWND h, const RECT& part) {
    int n = countPixels(h, texts[0], part);
    if (texts[1] != texts[0])
      n += countPixels(h, texts[1], part);
    return n;
  };
  for (int page = 0; page < 3; ++page) {
    switchToPage(form, page);
    RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (auto* row = ui::formDescriptionBegin(); row != ui::formDescriptionEnd(); ++row) {
      HWND h = form.controls().hwnd(row->id);
      if (!IsWindowVisible(h) || row->kind == ui::ControlKind::Page)
        continue;
      if (row->kind == ui::ControlKind::TabControl) {
        const int count = static_cast<int>(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
          RECT r{};
          SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
          InflateRect(&r, -3, -3);
          std::map<COLORREF, int> seen;
          {
            tk::WindowDc dc(h);
            for (int y = r.top; y < r.bottom; ++y)
              for (int x = r.left; x < r.right; ++x)
                ++seen[GetPixel(dc.get(), x, y)];
          }
          int fill = 0;
          for (const auto& [colour, n] : seen)
            fill = std::max(fill, n);
          EXPECT_GT((r.right - r.left) * (r.bottom - r.top) - fill, 5)
              << scheme << ": tab " << i << " shows no caption on its button";
        }
        continue;
      }
      if (GetWindowTextLengthW(h) == 0 && row->kind != ui::ControlKind::SpinEdit)
        continue; // nothing to show (an empty box)
      if (row->kind == ui::ControlKind::EditCombo) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(h, &info))
          h = info.hwndItem; // its text is its edit's
        // A selection shows in the highlight colours, visible in any scheme;
        // the text's own colour is what is checked.
        SendMessageW(form.controls().hwnd(row->id), CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
        UpdateWindow(h);
      }
      RECT r{};
      GetClientRect(h, &r);
      if (row->kind == ui::ControlKind::SpinEdit)
        r.right -= 20; // the text only: the arrows are checked on their own
      EXPECT_GT(textPixels(h, r), 5) << scheme << ": " << row->id;
    }
  }
  switchToPage(form, 0);
}

// In the standard scheme and in a high-contrast black one, set while the
// program runs: the arrows are drawn in the button-text colour, and every
// caption and text shows.
TEST_F(SpinEditsTest, EveryArrowPairStaysDrawnWhileTheSpinEditsAreUsed) {
  const struct {
    const char* scheme;
    std::vector<std::pair<int, COLORREF>> colours;
  } schemes[] = {
      {"standard", {}},
      {"high contrast black",
       {{COLOR_BTNFACE, RGB(0, 0, 0)},
        {COLOR_BTNTEXT, RGB(255, 255, 255)},
        {COLOR_WINDOW, RGB(0, 0, 0)},
        {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
        {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
        {COLOR_3DLIGHT, RGB(192, 192, 192)},
        {COLOR_BTNSHADOW, RGB(128, 128, 128)},
        {COLOR_3DDKSHADOW, RGB(128, 128, 128)},
        {COLOR_GRAYTEXT, RGB(0, 255, 0)},
        {COLOR_HIGHLIGHT, RGB(128, 0, 128)},
        {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)}}},
  };
  for (const auto& s : schemes) {
    SchemeScope scope(s.colours);
    pump();
    SCOPED_TRACE(s.scheme);
    useEverySpinEdit(1 + 3 + 5 + 7);
    expectEveryCaptionShown(form, s.scheme);
  }
}

// On a 144-dpi monitor each spin edit is as high as the form's 21 pixels
// scaled (and never below its minimum), its pair 23 pixels wide, its arrows
// drawn half as large again; and they stay drawn while used.
TEST_F(SpinEditsTest, At144DpiThePairsAndArrowsScaleAndStayDrawn) {
  RECT suggested{20, 20, 1120, 1000};
  SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  pump();
  for (ui::ControlId name : kSpinEdits) {
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
