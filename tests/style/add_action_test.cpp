#include "style/add_action.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace sheetloom::style {
namespace {

// The window's part of the add action, in memory.
struct MemoryView final : AddActionView {
  MemoryBorderEditors border;
  MemoryBoxEditors margin;
  MemoryBoxEditors padding;
  RuleSettings settings;
  std::string stylesheet;

  BorderEditors& borderEditors() override { return border; }
  BoxEditors& marginEditors() override { return margin; }
  BoxEditors& paddingEditors() override { return padding; }
  RuleSettings readRuleSettings() const override { return settings; }
  std::string stylesheetText() const override { return stylesheet; }
  void setStylesheetText(const std::string& text) override { stylesheet = text; }
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

TEST(AddAction, CommitsEditedSidesBeforeComposing) {
  MemoryView view;
  StyleSettingsStore store;
  view.stylesheet = "P{\r\n}";
  view.border.side = SideTop;
  commitBorderEditors(view.border, store);
  view.border.widthValue = 5;
  view.border.checked = true;
  view.margin.number = -2;
  view.margin.checked = true;
  view.padding.unit = "em";
  view.padding.number = 3;
  view.padding.checked = true;
  view.settings.selector = "H2";

  addRule(view, store);
  EXPECT_EQ(view.stylesheet, "P{\r\n}H2{\r\n"
                             "  border-top-color: #000000;\r\n"
                             "  border-top-style: none;\r\n"
                             "  border-top-width: 5px;\r\n"
                             "  margin: -2px;\r\n"
                             "  padding: 3em;\r\n"
                             "}\r\n");
}

TEST(AddAction, AFailureLeavesTheStylesheetAsItWas) {
  MemoryView view;
  StyleSettingsStore store;
  view.stylesheet = "kept";
  view.margin.side = 7;
  EXPECT_THROW(addRule(view, store), std::out_of_range);
  EXPECT_EQ(view.stylesheet, "kept");
}

} // namespace
} // namespace sheetloom::style
