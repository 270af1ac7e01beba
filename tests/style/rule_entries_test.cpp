// What the composer writes for the entries the user can pick in each list, and
// for user texts of any length.
#include "style/rule_composer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sheetloom::style {
namespace {

std::string lines(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& line : items) {
    text += line + "\r\n";
  }
  return text;
}

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
} // namespace sheetloom::style
