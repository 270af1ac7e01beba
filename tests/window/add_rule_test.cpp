// The add button as the user reaches it: controls filled as a user fills them,
// one click on "スタイルシートに追加", and the stylesheet's bytes as they would be
// saved.
#include "tests/support/form_fixture.h"

#include "toolkit/text.h"

#include <string>
#include <vector>

namespace {

using sheetloom_test::FormTest;

std::string lines(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& line : items) {
    text += line + "\r\n";
  }
  return text;
}

// What the user picks in every list, each by the entry's label.
struct Choices {
  const wchar_t* side; // in all three side lists
  const wchar_t* borderStyle;
  const wchar_t* align;
  const wchar_t* valign;
  const wchar_t* cursor;
  const wchar_t* position;
  const wchar_t* repeat;
  const wchar_t* unit; // for the width and the top offset
};

class AddRuleTest : public FormTest {
protected:
  // The user picks the entry shown as `label`.
  void chooseEntry(ui::ControlId name, const wchar_t* label) {
    const int index = indexOf(name, label);
    ASSERT_GE(index, 0) << name << " has no such entry";
    choose(name, index);
  }

  // Makes every choice, enables the chosen side of each group, sets a width
  // and a top offset of 1 and 2, and adds the rule.
  void addWith(const Choices& c) {
    showPage(1);
    const std::pair<C, C> groups[] = {
        {C::border_kind, C::border_check}, {C::Ma_kind, C::Ma_check}, {C::Pa_kind, C::Pa_check}};
    for (const auto& [side, check] : groups) {
      chooseEntry(side, c.side); // shows that side, unchecked
      click(check);
    }
    chooseEntry(C::border_style, c.borderStyle);
    chooseEntry(C::back_repeat, c.repeat);
    showPage(0);
    chooseEntry(C::align, c.align);
    chooseEntry(C::valign, c.valign);
    chooseEntry(C::cursor, c.cursor);
    spin(C::width).SetValue(1);
    chooseEntry(C::wu, c.unit);
    showPage(2);
    chooseEntry(C::posit, c.position);
    spin(C::top).SetValue(2);
    chooseEntry(C::tu, c.unit);
    click(C::make);
  }

  // The memo's text, which these rules keep in ASCII: the file's bytes.
  std::string savedBytes() const { return tk::narrow(memo()); }
};

// Every list's first real entry is written; the side lists' first side is the
// shorthand.
TEST_F(AddRuleTest, FirstRealEntryOfEveryListReachesTheRule) {
  addWith({L"上下左右", L"なし", L"左寄せ", L"上端揃え", L"自動", L"相対位置",
           L"縦横に繰り返し表示する（初期値）", L"px"});
  EXPECT_EQ(savedBytes(), lines({"BODY{", "  background-repeat: repeat;",
                                 "  border-color: #000000;", "  border-style: none;",
                                 // slot 0 took the editors' starting width
                                 "  border-width: 0px;", "  margin: 0px;", "  padding: 0px;",
                                 "  text-align: left;", "  vertical-align: top;", "  width: 1px;",
                                 "  cursor: auto;", "  position: relative;", "  top: 2px;", "}"}));
}

TEST_F(AddRuleTest, LastEntryOfEveryListReachesTheRule) {
  addWith({L"下", L"アウトセット", L"均等割付", L"下付き文字", L"リサイズ(左下隅)",
           L"絶対位置(固定)", L"1回だけ表示して、繰り返さない。", L"ex"});
  EXPECT_EQ(savedBytes(),
            lines({"BODY{", "  background-repeat: no-repeat;", "  border-bottom-color: #000000;",
                   "  border-bottom-style: outset;", "  border-bottom-width: 1px;",
                   "  margin-bottom: 0px;", "  padding-bottom: 0px;", "  text-align: justify;",
                   "  vertical-align: sub;", "  width: 1ex;", "  cursor: sw-resize;",
                   "  position: fixed;", "  top: 2ex;", "}"}));
}

// Every text box and unit combo holding 100,000 characters: each text is
// written whole, in its own place.
TEST_F(AddRuleTest, EveryTextOfAHundredThousandCharactersIsWrittenWhole) {
  constexpr std::size_t Long = 100000;
  const std::wstring_view marks = L"a見b出c色d画e像f幅g";
  std::size_t made = 0;
  const auto longText = [&] { return std::wstring(Long, marks[made++ % marks.size()]); };
  struct Field {
    ui::ControlId name;
    std::wstring text;
  };
  std::vector<Field> fields;
  for (ui::ControlId name :
       {C::TAG, C::back_color, C::Back_Image, C::wu, C::hu, C::tu, C::bu, C::lu, C::ru,
        C::border_color, C::border_unit, C::Ma_unit, C::Pa_unit}) {
    fields.push_back({name, longText()});
  }
  for (const Field& f : fields) {
    setText(f.name, f.text);
  }
  const auto t = [&fields](ui::ControlId name) {
    for (const Field& f : fields) {
      if (name == f.name)
        return f.text;
    }
    ADD_FAILURE() << name;
    return std::wstring();
  };
  click(C::border_check);
  click(C::Ma_check);
  click(C::Pa_check);
  spin(C::width).SetValue(1);
  spin(C::height).SetValue(2);
  spin(C::top).SetValue(3);
  spin(C::buttom).SetValue(4);
  spin(C::left).SetValue(5);
  spin(C::right).SetValue(6);
  click(C::make);

  const std::wstring want = t(C::TAG) + L"{\r\n" +                                  //
                            L"  background-color: " + t(C::back_color) + L";\r\n" + //
                            L"  background-image: url(\"" + t(C::Back_Image) + L"\");\r\n" +
                            L"  border-color: " + t(C::border_color) + L";\r\n" +
                            L"  border-style: none;\r\n" +                        //
                            L"  border-width: 0" + t(C::border_unit) + L";\r\n" + //
                            L"  margin: 0" + t(C::Ma_unit) + L";\r\n" +           //
                            L"  padding: 0" + t(C::Pa_unit) + L";\r\n" +          //
                            L"  width: 1" + t(C::wu) + L";\r\n" +                 //
                            L"  height: 2" + t(C::hu) + L";\r\n" +                //
                            L"  top: 3" + t(C::tu) + L";\r\n" +                   //
                            L"  bottom: 4" + t(C::bu) + L";\r\n" +                //
                            L"  left: 5" + t(C::lu) + L";\r\n" +                  //
                            L"  right: 6" + t(C::ru) + L";\r\n" +                 //
                            L"}\r\n";
  const std::wstring got = memo();
  ASSERT_EQ(got.size(), want.size());
  EXPECT_TRUE(got == want); // not EXPECT_EQ: a mismatch would print megabytes
}

} // namespace
