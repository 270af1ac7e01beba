#include "style/rule_composer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace style {
namespace {

// Joins lines, each followed by CR LF, as the composer writes them.
std::string lines(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& line : items) {
    text += line + "\r\n";
  }
  return text;
}

std::string compose(const RuleSettings& rule, const StyleSettingsStore& store = {}) {
  return RuleComposer::compose(rule, store);
}

TEST(RuleComposer, StartingValuesGiveAnEmptyRule) {
  EXPECT_EQ(compose(RuleSettings{}), "BODY{\r\n}\r\n");
}

TEST(RuleComposer, EmptySelectorGivesABareBrace) {
  RuleSettings rule;
  rule.selector = "";
  EXPECT_EQ(compose(rule), "{\r\n}\r\n");
}

TEST(RuleComposer, WorkedExample) {
  StyleSettingsStore store;
  store.fontDeclarations = lines(
      {"  color: #000000;", "  font-size: 12px;", "  font-weight: bold;", "  font-family: Arial;"});
  store.border[0] = {"#000000", "px", 1, 2, true};
  RuleSettings rule;
  rule.selector = "H1";
  rule.backgroundColour = "#FFFFFF";
  rule.alignIndex = 3;
  rule.width = 50;
  rule.widthUnit = "em";

  EXPECT_EQ(compose(rule, store),
            lines({"H1{", "  color: #000000;", "  font-size: 12px;", "  font-weight: bold;",
                   "  font-family: Arial;", "  background-color: #FFFFFF;",
                   "  border-color: #000000;", "  border-style: solid;", "  border-width: 2px;",
                   "  text-align: center;", "  width: 50em;", "}"}));
}

TEST(RuleComposer, EveryDeclarationInItsOrder) {
  StyleSettingsStore store;
  store.border[3] = {"red", "em", 4, -1, true};
  store.margin[0] = {0, "px", true};
  store.margin[4] = {-3, "%", true};
  store.padding[2] = {7, "ex", true};
  RuleSettings rule;
  rule.selector = "div.note p";
  rule.backgroundColour = " ";
  rule.backgroundImage = "画像/a b.png";
  rule.backgroundFixed = true;
  rule.repeatIndex = 4;
  rule.alignIndex = 4;
  rule.valignIndex = 7;
  rule.width = 1;
  rule.widthUnit = "%";
  rule.height = 2;
  rule.heightUnit = "";
  rule.cursorIndex = 16;
  rule.stackOrder = 3;
  rule.positionIndex = 2;
  rule.top = 10;
  rule.topUnit = "%";
  rule.bottom = 11;
  rule.bottomUnit = "rem";
  rule.left = 12;
  rule.leftUnit = "em";
  rule.right = 13;
  rule.rightUnit = "";
  rule.hidden = true;

  EXPECT_EQ(compose(rule, store), lines({"div.note p{",
                                         "  background-color:  ;",
                                         "  background-image: url(\"画像/a b.png\");",
                                         "  background-attachment: fixed;",
                                         "  background-repeat: no-repeat;",
                                         "  border-right-color: red;",
                                         "  border-right-style: dashed;",
                                         "  border-right-width: -1em;",
                                         "  margin: 0px;",
                                         "  margin-bottom: -3%;",
                                         "  padding-left: 7ex;",
                                         "  text-align: justify;",
                                         "  vertical-align: sub;",
                                         "  width: 1%;",
                                         "  height: 2;",
                                         "  cursor: sw-resize;",
                                         "  z-index: 3;",
                                         "  position: absolute;",
                                         "  top: 10%;",
                                         "  bottom: 11rem;",
                                         "  left: 12em;",
                                         "  right: 13;",
                                         "  visibility: hidden;",
                                         "}"}));
}

TEST(RuleComposer, SidesInOrderAllTopLeftRightBottomAndGroupsBorderMarginPadding) {
  StyleSettingsStore store;
  for (auto& slot : store.border) {
    slot.enabled = true;
  }
  for (std::size_t side = 0; side < SideCount; ++side) {
    store.margin[side] = {static_cast<std::int32_t>(side), "px", true};
    store.padding[side] = {static_cast<std::int32_t>(side) + 10, "px", true};
  }
  std::vector<std::string> want{"BODY{"};
  for (const char* suffix : {"", "-top", "-left", "-right", "-bottom"}) {
    want.push_back(std::string("  border") + suffix + "-color: #000000;");
    want.push_back(std::string("  border") + suffix + "-style: none;");
    want.push_back(std::string("  border") + suffix + "-width: 1px;");
  }
  want.insert(want.end(), {"  margin: 0px;", "  margin-top: 1px;", "  margin-left: 2px;",
                           "  margin-right: 3px;", "  margin-bottom: 4px;", "  padding: 10px;",
                           "  padding-top: 11px;", "  padding-left: 12px;",
                           "  padding-right: 13px;", "  padding-bottom: 14px;", "}"});
  EXPECT_EQ(compose(RuleSettings{}, store), lines(want));
}

TEST(RuleComposer, EnabledBorderIsWrittenWhateverItHolds) {
  StyleSettingsStore store;
  store.border[1] = {"", "px", 0, 0, true};
  EXPECT_EQ(compose(RuleSettings{}, store),
            lines({"BODY{", "  border-top-color: ;", "  border-top-style: none;",
                   "  border-top-width: 0px;", "}"}));
}

// Zero, negative and "nothing selected" write nothing for the properties that
// test their value.
TEST(RuleComposer, NonPositiveValuesAndUnsetListsWriteNothing) {
  for (const std::int32_t value : {0, -1, INT32_MIN}) {
    RuleSettings rule;
    rule.width = rule.height = rule.stackOrder = value;
    rule.top = rule.bottom = rule.left = rule.right = value;
    rule.repeatIndex = rule.alignIndex = rule.valignIndex = value;
    rule.cursorIndex = rule.positionIndex = value;
    EXPECT_EQ(compose(rule), "BODY{\r\n}\r\n") << value;
  }
}

TEST(RuleComposer, IntegersAtTheLimits) {
  StyleSettingsStore store;
  store.margin[0] = {INT32_MIN, "px", true};
  RuleSettings rule;
  rule.stackOrder = INT32_MAX;
  EXPECT_EQ(compose(rule, store),
            lines({"BODY{", "  margin: -2147483648px;", "  z-index: 2147483647;", "}"}));
}

// Every line written at once, with empty texts and the widest numbers.
TEST(RuleComposer, EveryLineAtOnceWithTheWidestNumbers) {
  StyleSettingsStore store;
  for (std::size_t side = 0; side < SideCount; ++side) {
    store.border[side] = {"", "", 2, INT32_MIN, true};
    store.margin[side] = {INT32_MIN, "", true};
    store.padding[side] = {INT32_MIN, "", true};
  }
  RuleSettings rule;
  rule.selector = "";
  rule.backgroundColour = " ";
  rule.backgroundImage = " ";
  rule.backgroundFixed = rule.hidden = true;
  rule.repeatIndex = 4;
  rule.alignIndex = 4;
  rule.valignIndex = 5;
  rule.cursorIndex = 3;
  rule.positionIndex = 2;
  rule.widthUnit = rule.heightUnit = "";
  rule.topUnit = rule.bottomUnit = rule.leftUnit = rule.rightUnit = "";
  rule.width = rule.height = rule.stackOrder = INT32_MAX;
  rule.top = rule.bottom = rule.left = rule.right = INT32_MAX;

  const std::string text = compose(rule, store);
  EXPECT_NE(text.find("  border-bottom-width: -2147483648;\r\n"), std::string::npos);
  EXPECT_NE(text.find("  z-index: 2147483647;\r\n"), std::string::npos);
}

// ---- the entries the user can pick, and user texts of any length ----

// The index of the entry that the user sees as `label`.
template <std::size_t N>
std::int32_t indexOf(const std::array<std::string_view, N>& labels, std::string_view label) {
  for (std::size_t i = 0; i < N; ++i) {
    if (labels[i] == label) {
      return static_cast<std::int32_t>(i);
    }
  }
  ADD_FAILURE() << "no entry labelled " << label;
  return -1;
}

using Setter = std::function<void(RuleSettings&, StyleSettingsStore&)>;

// The user picks the entry labelled `label` from a list read into `field`.
template <std::size_t N>
Setter pick(const OptionTable<N>& table, std::int32_t RuleSettings::*field,
            std::string_view label) {
  return [&table, field, label](RuleSettings& rule, StyleSettingsStore&) {
    rule.*field = indexOf(table.labels, label);
  };
}

Setter at(std::int32_t RuleSettings::*field, std::int32_t index) {
  return [field, index](RuleSettings& rule, StyleSettingsStore&) { rule.*field = index; };
}

// The border of side 0 enabled, its style the entry labelled `label`.
Setter borderStyle(std::string_view label) {
  return [label](RuleSettings&, StyleSettingsStore& store) {
    store.border[0].enabled = true;
    store.border[0].styleIndex = indexOf(BorderStyleKeywords.labels, label);
  };
}

// Border, margin and padding enabled for the side labelled `label`.
Setter side(std::string_view label) {
  return [label](RuleSettings&, StyleSettingsStore& store) {
    const std::size_t chosen = static_cast<std::size_t>(indexOf(SideChoices, label));
    store.border[chosen].enabled = true;
    store.margin[chosen] = {3, "em", true};
    store.padding[chosen] = {4, "ex", true};
  };
}

// For every list: the first real entry and the last are written, the empty
// entry, "nothing selected" and an index past the end are not.
TEST(RuleComposer, FirstLastAndUnsetEntryOfEveryList) {
  struct Case {
    const char* what;
    Setter set;
    std::vector<std::string> declarations;
  };
  const Case cases[] = {
      {"align first",
       pick(AlignKeywords, &RuleSettings::alignIndex, "左寄せ"),
       {"  text-align: left;"}},
      {"align last",
       pick(AlignKeywords, &RuleSettings::alignIndex, "均等割付"),
       {"  text-align: justify;"}},
      {"align empty", pick(AlignKeywords, &RuleSettings::alignIndex, ""), {}},
      {"align none", at(&RuleSettings::alignIndex, -1), {}},
      {"align past end", at(&RuleSettings::alignIndex, 5), {}},

      {"valign first",
       pick(VAlignKeywords, &RuleSettings::valignIndex, "上端揃え"),
       {"  vertical-align: top;"}},
      {"valign last",
       pick(VAlignKeywords, &RuleSettings::valignIndex, "下付き文字"),
       {"  vertical-align: sub;"}},
      {"valign empty", pick(VAlignKeywords, &RuleSettings::valignIndex, ""), {}},
      {"valign past end", at(&RuleSettings::valignIndex, 8), {}},

      {"cursor first",
       pick(CursorKeywords, &RuleSettings::cursorIndex, "自動"),
       {"  cursor: auto;"}},
      {"cursor last",
       pick(CursorKeywords, &RuleSettings::cursorIndex, "リサイズ(左下隅)"),
       {"  cursor: sw-resize;"}},
      {"cursor empty", pick(CursorKeywords, &RuleSettings::cursorIndex, ""), {}},
      {"cursor past end", at(&RuleSettings::cursorIndex, 17), {}},

      {"position first",
       pick(PositionKeywords, &RuleSettings::positionIndex, "相対位置"),
       {"  position: relative;"}},
      {"position last",
       pick(PositionKeywords, &RuleSettings::positionIndex, "絶対位置(固定)"),
       {"  position: fixed;"}},
      {"position empty", pick(PositionKeywords, &RuleSettings::positionIndex, ""), {}},
      {"position past end", at(&RuleSettings::positionIndex, 4), {}},

      {"repeat first",
       pick(RepeatKeywords, &RuleSettings::repeatIndex, "縦横に繰り返し表示する（初期値）"),
       {"  background-repeat: repeat;"}},
      {"repeat last",
       pick(RepeatKeywords, &RuleSettings::repeatIndex, "1回だけ表示して、繰り返さない。"),
       {"  background-repeat: no-repeat;"}},
      {"repeat empty", pick(RepeatKeywords, &RuleSettings::repeatIndex, ""), {}},
      {"repeat past end", at(&RuleSettings::repeatIndex, 5), {}},

      // Every border style is a keyword, the first ("なし") included.
      {"border style first",
       borderStyle("なし"),
       {"  border-color: #000000;", "  border-style: none;", "  border-width: 1px;"}},
      {"border style last",
       borderStyle("アウトセット"),
       {"  border-color: #000000;", "  border-style: outset;", "  border-width: 1px;"}},

      {"side first",
       side("上下左右"),
       {"  border-color: #000000;", "  border-style: none;", "  border-width: 1px;",
        "  margin: 3em;", "  padding: 4ex;"}},
      {"side last",
       side("下"),
       {"  border-bottom-color: #000000;", "  border-bottom-style: none;",
        "  border-bottom-width: 1px;", "  margin-bottom: 3em;", "  padding-bottom: 4ex;"}},
  };
  for (const Case& c : cases) {
    RuleSettings rule;
    StyleSettingsStore store;
    c.set(rule, store);
    std::vector<std::string> want{"BODY{"};
    want.insert(want.end(), c.declarations.begin(), c.declarations.end());
    want.push_back("}");
    EXPECT_EQ(RuleComposer::compose(rule, store), lines(want)) << c.what;
  }
}

// Every text the user types reaches the rule whole, in its place, however long
// (the native tests run under AddressSanitizer, which reports any write past
// the output).
TEST(RuleComposer, EveryUserTextIsWrittenWholeHoweverLong) {
  constexpr std::size_t Long = 100000;
  const std::string_view letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::size_t made = 0;
  // Each text its own letter, so a text written in another's place shows.
  const auto longText = [&] { return std::string(Long, letters[made++ % letters.size()]); };

  RuleSettings rule;
  StyleSettingsStore store;
  rule.selector = longText();
  store.fontDeclarations = longText();
  rule.backgroundColour = longText();
  rule.backgroundImage = longText();
  for (std::size_t s = 0; s < SideCount; ++s) {
    store.border[s] = {longText(), longText(), 1, 2, true};
    store.margin[s] = {3, longText(), true};
    store.padding[s] = {4, longText(), true};
  }
  rule.width = 5;
  rule.widthUnit = longText();
  rule.height = 6;
  rule.heightUnit = longText();
  rule.top = 7;
  rule.topUnit = longText();
  rule.bottom = 8;
  rule.bottomUnit = longText();
  rule.left = 9;
  rule.leftUnit = longText();
  rule.right = 10;
  rule.rightUnit = longText();
  ASSERT_EQ(made, 30u);

  std::vector<std::string> want{rule.selector + "{"};
  std::string text = lines(want) + store.fontDeclarations;
  want = {"  background-color: " + rule.backgroundColour + ";",
          "  background-image: url(\"" + rule.backgroundImage + "\");"};
  const char* const suffixes[] = {"", "-top", "-left", "-right", "-bottom"};
  for (std::size_t s = 0; s < SideCount; ++s) {
    const std::string property = std::string("  border") + suffixes[s];
    want.push_back(property + "-color: " + store.border[s].colour + ";");
    want.push_back(property + "-style: solid;");
    want.push_back(property + "-width: 2" + store.border[s].unit + ";");
  }
  for (std::size_t s = 0; s < SideCount; ++s) {
    want.push_back(std::string("  margin") + suffixes[s] + ": 3" + store.margin[s].unit + ";");
  }
  for (std::size_t s = 0; s < SideCount; ++s) {
    want.push_back(std::string("  padding") + suffixes[s] + ": 4" + store.padding[s].unit + ";");
  }
  want.insert(want.end(),
              {"  width: 5" + rule.widthUnit + ";", "  height: 6" + rule.heightUnit + ";",
               "  top: 7" + rule.topUnit + ";", "  bottom: 8" + rule.bottomUnit + ";",
               "  left: 9" + rule.leftUnit + ";", "  right: 10" + rule.rightUnit + ";", "}"});
  text += lines(want);

  const std::string composed = RuleComposer::compose(rule, store);
  ASSERT_EQ(composed.size(), text.size());
  EXPECT_TRUE(composed == text); // not EXPECT_EQ: a mismatch would print 3 MB
}

} // namespace
} // namespace style
