// The handlers as the user reaches them: the selector mirrored into the
// group caption, the side editors, and adding rules to the memo.
#include "tests/support/form_fixture.h"

#include "ui/form_description.h"

#include <dlgs.h>

#include <string>
#include <string_view>
#include <utility>

namespace {

using sheetloom_test::chooseInCombo;
using sheetloom_test::DialogDriver;
using sheetloom_test::driveDialog;
using sheetloom_test::FormTest;

// ---- the selector ----

TEST_F(FormTest, ChoosingAnEntryMirrorsItIntoTheGroupCaption) {
  choose(C::TAG, indexOf(C::TAG, L"H1"));
  EXPECT_EQ(text(C::TAG), L"H1");
  EXPECT_EQ(text(C::GroupBox1), L"H1");
}

TEST_F(FormTest, SettingTheSelectorByProgramRunsNoHandler) {
  setText(C::TAG, L"P");
  SendMessageW(c(C::TAG), CB_SETCURSEL, 3, 0);
  EXPECT_EQ(text(C::GroupBox1), L"BODY");
}

// ---- side editors ----

TEST_F(FormTest, SwitchingTheBorderSideStoresTheOldSideAndShowsTheNew) {
  showPage(1);
  click(C::border_check);
  choose(C::border_kind, 1); // "上"
  EXPECT_FALSE(checked(C::border_check));
  EXPECT_EQ(spin(C::border_width).Text(), L"1");
  EXPECT_EQ(text(C::border_color), L"#000000");
  EXPECT_EQ(text(C::border_unit), L"px");
  EXPECT_EQ(text(C::border_style), L"なし");

  // Values typed for the top side survive a round trip through side 0.
  spin(C::border_width).SetValue(5);
  setText(C::border_unit, L"em");
  setText(C::border_color, L"red");
  choose(C::border_style, 4);
  choose(C::border_kind, 0);
  EXPECT_TRUE(checked(C::border_check));
  EXPECT_EQ(spin(C::border_width).Text(), L"0");
  EXPECT_EQ(text(C::border_style), L"なし");
  choose(C::border_kind, 1);
  EXPECT_EQ(spin(C::border_width).Value(), 5);
  EXPECT_EQ(text(C::border_unit), L"em");
  EXPECT_EQ(text(C::border_color), L"red");
  EXPECT_EQ(selected(C::border_style), 4);
  EXPECT_FALSE(checked(C::border_check));
}

TEST_F(FormTest, MarginAndPaddingSidesKeepTheirOwnValues) {
  showPage(1);
  struct Box {
    C kind, unit, number;
  };
  for (const Box& box : {Box{C::Ma_kind, C::Ma_unit, C::Ma}, Box{C::Pa_kind, C::Pa_unit, C::Pa}}) {
    const C p = box.number;
    spin(p).SetValue(7);
    setText(box.unit, L"ex");
    choose(box.kind, 4);
    EXPECT_EQ(spin(p).Value(), 0) << p;
    EXPECT_EQ(text(box.unit), L"px") << p;
    choose(box.kind, 0);
    EXPECT_EQ(spin(p).Value(), 7) << p;
    EXPECT_EQ(text(box.unit), L"ex") << p;
  }
}

// ---- adding rules ----

TEST_F(FormTest, AddingAtStartWritesTheBareRuleAndTwiceWritesItTwice) {
  click(C::make);
  EXPECT_EQ(memo(), L"BODY{\r\n}\r\n");
  click(C::make);
  EXPECT_EQ(memo(), L"BODY{\r\n}\r\nBODY{\r\n}\r\n");
  EXPECT_EQ(text(C::TAG), L"BODY");
  EXPECT_EQ(currentPage(), 0);
  // The add saved the border editors into the side they show before loading
  // it back: they keep their starting width, not a slot's default of 1; and
  // it saved into that side alone, the top side still holds its default.
  EXPECT_EQ(spin(C::border_width).Text(), L"0");
  choose(C::border_kind, 1); // "上"
  EXPECT_EQ(spin(C::border_width).Text(), L"1");
  choose(C::border_kind, 0);
  EXPECT_EQ(spin(C::border_width).Text(), L"0");
}

TEST_F(FormTest, AddingTheWorkedExample) {
  choose(C::TAG, indexOf(C::TAG, L"H1"));
  // The font dialog, at its starting 12 points in black: a face of the
  // window's own, bold.
  std::string face;
  DialogDriver font;
  font.action = [&face](HWND dialog) {
    HWND faces = GetDlgItem(dialog, cmb1);
    for (std::string_view candidate : ui::WindowFaces) {
      const LRESULT at = SendMessageW(faces, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(tk::widen(candidate).c_str()));
      if (at != CB_ERR) {
        face = candidate;
        chooseInCombo(dialog, cmb1, at);
        break;
      }
    }
    HWND styles = GetDlgItem(dialog, cmb2); // each entry's data: weight, and italic above
    const LRESULT count = SendMessageW(styles, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
      if (SendMessageW(styles, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == MAKELONG(FW_BOLD, 0))
        chooseInCombo(dialog, cmb2, i);
  };
  driveDialog(font, [&] { click(C::Button1); });
  ASSERT_TRUE(font.opened);
  ASSERT_FALSE(face.empty()) << "the font dialog lists none of the window's faces";
  setText(C::back_color, L"#FFFFFF");
  showPage(1);
  click(C::border_check);
  SendMessageW(c(C::border_style), CB_SETCURSEL, 1, 0);
  spin(C::border_width).SetValue(2);
  SendMessageW(c(C::align), CB_SETCURSEL, 3, 0);
  spin(C::width).SetValue(50);
  SendMessageW(c(C::wu), CB_SETCURSEL, 1, 0);
  click(C::make);
  const std::wstring beforeFace = L"H1{\r\n"
                                  L"  color: #000000;\r\n"
                                  L"  font-size: 12px;\r\n"
                                  L"  font-weight: bold;\r\n"
                                  L"  font-family: ";
  const std::wstring afterFace = L";\r\n"
                                 L"  background-color: #FFFFFF;\r\n"
                                 L"  border-color: #000000;\r\n"
                                 L"  border-style: solid;\r\n"
                                 L"  border-width: 2px;\r\n"
                                 L"  text-align: center;\r\n"
                                 L"  width: 50em;\r\n"
                                 L"}\r\n";
  EXPECT_EQ(memo(), beforeFace + tk::widen(face) + afterFace);
}

TEST_F(FormTest, EveryOptionAndOffsetIsReadFromItsControl) {
  SendMessageW(c(C::valign), CB_SETCURSEL, 6, 0);
  spin(C::height).SetValue(3);
  setText(C::hu, L"%");
  SendMessageW(c(C::cursor), CB_SETCURSEL, 3, 0);
  setText(C::Back_Image, L"a b.png");
  SendMessageW(c(C::kotei), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(c(C::back_repeat), CB_SETCURSEL, 4, 0);
  spin(C::zin).SetValue(9);
  SendMessageW(c(C::posit), CB_SETCURSEL, 2, 0);
  spin(C::top).SetValue(1);
  spin(C::buttom).SetValue(2);
  setText(C::bu, L"rem"); // a typed offset unit is written as typed
  spin(C::left).SetValue(-4);
  spin(C::right).SetValue(4);
  SendMessageW(c(C::ru), CB_SETCURSEL, 2, 0);
  SendMessageW(c(C::visible), BM_SETCHECK, BST_CHECKED, 0);
  showPage(1);
  click(C::Pa_check);
  spin(C::Pa).SetValue(-3);
  click(C::make);
  EXPECT_EQ(memo(), L"BODY{\r\n"
                    L"  background-image: url(\"a b.png\");\r\n"
                    L"  background-attachment: fixed;\r\n"
                    L"  background-repeat: no-repeat;\r\n"
                    L"  padding: -3px;\r\n"
                    L"  vertical-align: super;\r\n"
                    L"  height: 3%;\r\n"
                    L"  cursor: pointer;\r\n"
                    L"  z-index: 9;\r\n"
                    L"  position: absolute;\r\n"
                    L"  top: 1px;\r\n"
                    L"  bottom: 2rem;\r\n"
                    L"  right: 4ex;\r\n"
                    L"  visibility: hidden;\r\n"
                    L"}\r\n");
}

TEST_F(FormTest, AddingAppendsAtTheEndWithoutDisturbingTheText) {
  // Wherever the user left the selection, even one reaching the end, the
  // rule goes after the last character and nothing selected is replaced.
  const std::pair<int, int> selections[] = {{2, 4}, {2, 10}, {10, 10}, {0, 0}};
  for (const auto& [from, to] : selections) {
    setText(C::StyleSheet, L"/* mine */");
    SendMessageW(c(C::StyleSheet), EM_SETSEL, from, to);
    click(C::make);
    EXPECT_EQ(memo(), L"/* mine */BODY{\r\n}\r\n")
        << "selection " << from << "-" << to << ": joined to a last line without a break";
    DWORD start = 0, end = 0;
    SendMessageW(c(C::StyleSheet), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, static_cast<DWORD>(memo().size())) << "the caret ends after the new rule";
    EXPECT_EQ(end, start);
    // The add can be undone as one edit.
    SendMessageW(c(C::StyleSheet), EM_UNDO, 0, 0);
    EXPECT_EQ(memo(), L"/* mine */");
  }
}

TEST_F(FormTest, ClearEmptiesTheMemoAndLeavesTheControls) {
  choose(C::TAG, indexOf(C::TAG, L"P"));
  click(C::make);
  click(C::Button5);
  EXPECT_EQ(memo(), L"");
  EXPECT_EQ(text(C::TAG), L"P");
}

// ---- unusual input ----

TEST_F(FormTest, AHundredThousandCharacterSelectorIsKeptWhole) {
  const std::wstring longSelector(100000, L'q');
  setText(C::TAG, longSelector);
  SendMessageW(editOf(C::TAG), EM_SETSEL, 100000, 100000);
  type(C::TAG, L"x");
  EXPECT_EQ(text(C::TAG), longSelector + L"x");
  EXPECT_EQ(text(C::GroupBox1), longSelector + L"x");
  click(C::make);
  EXPECT_EQ(memo(), longSelector + L"x{\r\n}\r\n");
  SendMessageW(c(C::TAG), CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(FormTest, JapaneseAndEmojiInEveryTextFieldAreWrittenExactly) {
  const std::wstring odd = L"見出し😀";
  setText(C::TAG, odd);
  setText(C::back_color, L"色😀");
  setText(C::Back_Image, L"画像😀.png");
  spin(C::width).SetValue(5);
  setText(C::wu, L"幅😀");
  spin(C::height).SetValue(6);
  setText(C::hu, L"高😀");
  spin(C::top).SetValue(7);
  setText(C::tu, L"上😀");
  showPage(1);
  click(C::border_check);
  setText(C::border_color, L"枠😀");
  setText(C::border_unit, L"太😀");
  click(C::Ma_check);
  setText(C::Ma_unit, L"余😀");
  click(C::make);
  EXPECT_EQ(memo(), L"見出し😀{\r\n"
                    L"  background-color: 色😀;\r\n"
                    L"  background-image: url(\"画像😀.png\");\r\n"
                    L"  border-color: 枠😀;\r\n"
                    L"  border-style: none;\r\n"
                    L"  border-width: 0太😀;\r\n"
                    L"  margin: 0余😀;\r\n"
                    L"  width: 5幅😀;\r\n"
                    L"  height: 6高😀;\r\n"
                    L"  top: 7上😀;\r\n"
                    L"}\r\n");
}

TEST_F(FormTest, AddingToAMemoOfFiftyMegabytesKeepsTheTextExact) {
  std::wstring line(78, L'x');
  line += L"\r\n";
  std::wstring big;
  const size_t chars = 25u * 1024 * 1024; // 50 MB of UTF-16
  big.reserve(chars + 64);
  while (big.size() < chars)
    big += line;
  setText(C::StyleSheet, big);
  ASSERT_EQ(static_cast<size_t>(GetWindowTextLengthW(c(C::StyleSheet))), big.size())
      << "the memo holds the whole text";
  click(C::make);
  const std::wstring after = memo();
  ASSERT_EQ(after.size(), big.size() + 10);
  EXPECT_EQ(after.compare(0, big.size(), big), 0);
  EXPECT_EQ(after.substr(big.size()), L"BODY{\r\n}\r\n");
  // The new rule is in view: the memo shows its last lines.
  const auto lines = SendMessageW(c(C::StyleSheet), EM_GETLINECOUNT, 0, 0);
  const auto first = SendMessageW(c(C::StyleSheet), EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first, lines - 20);
}

} // namespace
