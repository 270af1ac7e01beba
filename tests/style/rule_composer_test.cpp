#include "style/rule_composer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sheetloom::style {
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
  std::size_t lineCount = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++lineCount;
  }
  EXPECT_EQ(lineCount, 43u);
  EXPECT_NE(text.find("  border-bottom-width: -2147483648;\r\n"), std::string::npos);
  EXPECT_NE(text.find("  z-index: 2147483647;\r\n"), std::string::npos);
}

} // namespace
} // namespace sheetloom::style
