#include "style/add_action.h"

#include "tests/support/memory_side_group.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace style {
namespace {

// The window's part of the add action, in memory. `calls` records what the
// action asked of the window, in order.
struct MemoryView final : AddActionView {
  sheetloom_test::MemoryBorderGroup border;
  sheetloom_test::MemoryBoxGroup margin;
  sheetloom_test::MemoryBoxGroup padding;
  RuleSettings settings;
  std::string stylesheet;
  bool failToRead = false;
  mutable std::vector<std::string> calls;

  SideGroup<BorderSideSettings>& borderEditors() override {
    calls.push_back("border");
    return border;
  }
  SideGroup<BoxSideSettings>& marginEditors() override {
    calls.push_back("margin");
    return margin;
  }
  SideGroup<BoxSideSettings>& paddingEditors() override {
    calls.push_back("padding");
    return padding;
  }
  RuleSettings readRuleSettings() const override {
    calls.push_back("read");
    if (failToRead) {
      throw std::runtime_error("read failed");
    }
    return settings;
  }
  void appendRule(std::string_view rule) override {
    calls.push_back("append");
    stylesheet.append(rule);
  }
};

TEST(AddAction, StartingWindowAppendsTheEmptyBodyRule) {
  MemoryView view;
  StyleSettingsStore store;
  addRule(view, store);
  EXPECT_EQ(view.stylesheet, "BODY{\r\n}\r\n");
  addRule(view, store);
  EXPECT_EQ(view.stylesheet, "BODY{\r\n}\r\nBODY{\r\n}\r\n");
  // The first commit put the editors' starting width 0 into slot 0.
  EXPECT_EQ(store.border[0].width, 0);
}

// Side groups first (border, margin, padding), then the window is read, then
// the rule goes to the stylesheet in one piece.
TEST(AddAction, CommitsTheSidesThenReadsThenAppendsOnce) {
  MemoryView view;
  StyleSettingsStore store;
  addRule(view, store);
  EXPECT_EQ(view.calls,
            (std::vector<std::string>{"border", "margin", "padding", "read", "append"}));
}

TEST(AddAction, CommitsEditedSidesBeforeComposing) {
  MemoryView view;
  StyleSettingsStore store;
  view.stylesheet = "P{\r\n}";
  view.border.chosenSide = SideTop;
  commit(view.border, store, BorderSides);
  view.border.values.width = 5;
  view.border.values.enabled = true;
  view.margin.values.value = -2;
  view.margin.values.enabled = true;
  view.padding.values.unit = "em";
  view.padding.values.value = 3;
  view.padding.values.enabled = true;
  view.settings.selector = "H2";

  addRule(view, store);
  // A text without a final line break gets the selector joined to its last
  // line.
  EXPECT_EQ(view.stylesheet, "P{\r\n}H2{\r\n"
                             "  border-top-color: #000000;\r\n"
                             "  border-top-style: none;\r\n"
                             "  border-top-width: 5px;\r\n"
                             "  margin: -2px;\r\n"
                             "  padding: 3em;\r\n"
                             "}\r\n");
}

TEST(AddAction, AFailureAppendsNothingAndKeepsWhatWasCommitted) {
  struct Case {
    const char* what;
    void (*spoil)(MemoryView&);
  };
  const Case cases[] = {
      {"side out of range", [](MemoryView& v) { v.margin.chosenSide = 7; }},
      {"reading the window", [](MemoryView& v) { v.failToRead = true; }},
  };
  for (const Case& c : cases) {
    MemoryView view;
    StyleSettingsStore store;
    view.stylesheet = "kept";
    view.border.values.width = 7;
    c.spoil(view);
    EXPECT_ANY_THROW(addRule(view, store)) << c.what;
    EXPECT_EQ(view.stylesheet, "kept") << c.what;
    EXPECT_EQ(store.border[0].width, 7) << c.what; // the border was committed first
  }
}

} // namespace
} // namespace style
