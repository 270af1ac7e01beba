// The add button as the user reaches it: controls filled as a user fills them,
// one click on "スタイルシートに追加", and the stylesheet's bytes as they would be
// saved.
#include "form_fixture.h"

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
  void chooseEntry(std::string_view name, const wchar_t* label) {
    const int index = indexOf(name, label);
    ASSERT_GE(index, 0) << name << " has no such entry";
    choose(name, index);
  }

  // Makes every choice, enables the chosen side of each group, sets a width
  // and a top offset of 1 and 2, and adds the rule.
  void addWith(const Choices& c) {
    form.showPage(1);
    for (const char* group : {"border", "Ma", "Pa"}) {
      chooseEntry(std::string(group) + "_kind", c.side); // shows that side, unchecked
      click(std::string(group) + "_check");
    }
    chooseEntry("border_style", c.borderStyle);
    chooseEntry("back_repeat", c.repeat);
    form.showPage(0);
    chooseEntry("align", c.align);
    chooseEntry("valign", c.valign);
    chooseEntry("cursor", c.cursor);
    spin("width").SetValue(1);
    chooseEntry("wu", c.unit);
    form.showPage(2);
    chooseEntry("posit", c.position);
    spin("top").SetValue(2);
    chooseEntry("tu", c.unit);
    click("make");
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
    const char* name;
    std::wstring text;
  };
  std::vector<Field> fields;
  for (const char* name : {"TAG", "back_color", "Back_Image", "wu", "hu", "tu", "bu", "lu", "ru",
                           "border_color", "border_unit", "Ma_unit", "Pa_unit"}) {
    fields.push_back({name, longText()});
  }
  for (const Field& f : fields) {
    setText(f.name, f.text);
  }
  const auto t = [&fields](std::string_view name) {
    for (const Field& f : fields) {
      if (name == f.name)
        return f.text;
    }
    ADD_FAILURE() << name;
    return std::wstring();
  };
  click("border_check");
  click("Ma_check");
  click("Pa_check");
  spin("width").SetValue(1);
  spin("height").SetValue(2);
  spin("top").SetValue(3);
  spin("buttom").SetValue(4);
  spin("left").SetValue(5);
  spin("right").SetValue(6);
  click("make");

  const std::wstring want = t("TAG") + L"{\r\n" +                                  //
                            L"  background-color: " + t("back_color") + L";\r\n" + //
                            L"  background-image: url(\"" + t("Back_Image") + L"\");\r\n" +
                            L"  border-color: " + t("border_color") + L";\r\n" +
                            L"  border-style: none;\r\n" +                       //
                            L"  border-width: 0" + t("border_unit") + L";\r\n" + //
                            L"  margin: 0" + t("Ma_unit") + L";\r\n" +           //
                            L"  padding: 0" + t("Pa_unit") + L";\r\n" +          //
                            L"  width: 1" + t("wu") + L";\r\n" +                 //
                            L"  height: 2" + t("hu") + L";\r\n" +                //
                            L"  top: 3" + t("tu") + L";\r\n" +                   //
                            L"  bottom: 4" + t("bu") + L";\r\n" +                //
                            L"  left: 5" + t("lu") + L";\r\n" +                  //
                            L"  right: 6" + t("ru") + L";\r\n" +                 //
                            L"}\r\n";
  const std::wstring got = memo();
  ASSERT_EQ(got.size(), want.size());
  EXPECT_TRUE(got == want); // not EXPECT_EQ: a mismatch would print megabytes
}

} // namespace
