#include "style/side_editors.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <stdexcept>
#include <string>

namespace style {
namespace {

// The border group with a check box that reports program changes, as the
// window's does, so every load of the box re-enters the operation.
struct BorderGroup {
  StyleSettingsStore store;
  MemoryBorderEditors editors;
  int runs = 0;

  explicit BorderGroup(bool reentrant) {
    if (reentrant) {
      editors.onEnabledChanged = [this] { commit(); };
    }
  }
  void commit() {
    ++runs;
    commitBorderEditors(editors, store);
  }
  void chooseSide(Side side) {
    editors.side = side;
    commit();
  }
  void click() {
    editors.checked = !editors.checked;
    commit();
  }
};

class BorderSideSwitching : public ::testing::TestWithParam<bool> {};

TEST_P(BorderSideSwitching, EachSideKeepsItsOwnValues) {
  BorderGroup g(GetParam());
  g.click(); // enable side 0 with the editors' starting values (width 0)
  g.chooseSide(SideTop);

  EXPECT_FALSE(g.editors.checked);
  EXPECT_EQ(g.editors.widthValue, 1);
  EXPECT_EQ(g.editors.colour, "#000000");
  EXPECT_EQ(g.editors.unit, "px");
  EXPECT_EQ(g.editors.style, 0);
  EXPECT_EQ(g.store.currentBorderSide, SideTop);

  g.editors.widthValue = 5;
  g.editors.colour = "blue";
  g.editors.unit = "rem";
  g.editors.style = 3;
  g.chooseSide(SideAll);

  EXPECT_TRUE(g.editors.checked);
  EXPECT_EQ(g.editors.widthValue, 0);
  EXPECT_EQ(g.store.border[0], BorderSideSettings({"#000000", "px", 0, 0, true}));
  EXPECT_EQ(g.store.border[1], BorderSideSettings({"blue", "rem", 3, 5, false}));
  for (std::size_t side = 2; side < SideCount; ++side) {
    EXPECT_EQ(g.store.border[side], BorderSideSettings{});
  }
}

TEST_P(BorderSideSwitching, CommittingWithoutSwitchingStoresTheEditors) {
  BorderGroup g(GetParam());
  g.chooseSide(SideTop);
  g.editors.widthValue = 5;
  g.click();
  EXPECT_EQ(g.store.border[1].width, 5);
  EXPECT_TRUE(g.store.border[1].enabled);
  g.click();
  EXPECT_FALSE(g.store.border[1].enabled);
  EXPECT_FALSE(g.editors.checked);
  EXPECT_EQ(g.editors.widthValue, 5);
}

INSTANTIATE_TEST_SUITE_P(CheckBoxEvents, BorderSideSwitching, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Reentrant" : "Quiet"; });

TEST(SideEditors, ReentryRunsTheOperationAgainWithTheSameResult) {
  BorderGroup g(true);
  g.click();
  const int before = g.runs;
  g.chooseSide(SideLeft); // loading the unchecked box re-enters once
  EXPECT_EQ(g.runs, before + 2);
  EXPECT_EQ(g.store.currentBorderSide, SideLeft);
  EXPECT_EQ(g.store.border[2], BorderSideSettings{});
}

// Margin and padding work alike on their own slots and current sides.
struct BoxCase {
  const char* name;
  void (*commit)(BoxEditors&, StyleSettingsStore&);
  std::array<BoxSideSettings, SideCount> StyleSettingsStore::*slots;
  Side StyleSettingsStore::*current;
};

// Test listings show the group's name rather than the case's raw bytes.
void PrintTo(const BoxCase& c, std::ostream* os) {
  *os << c.name;
}

class BoxSideSwitching : public ::testing::TestWithParam<BoxCase> {};

TEST_P(BoxSideSwitching, SavesTheSideLeftAndLoadsTheSideChosen) {
  const BoxCase& c = GetParam();
  for (const bool reentrant : {false, true}) {
    StyleSettingsStore store;
    MemoryBoxEditors editors;
    if (reentrant) {
      editors.onEnabledChanged = [&] { c.commit(editors, store); };
    }
    editors.number = -4;
    editors.unit = "%";
    editors.checked = true;
    editors.side = SideRight;
    c.commit(editors, store);

    EXPECT_EQ((store.*c.slots)[0], BoxSideSettings({-4, "%", true}));
    EXPECT_EQ(store.*c.current, SideRight);
    EXPECT_EQ(editors.number, 0);
    EXPECT_EQ(editors.unit, "px");
    EXPECT_FALSE(editors.checked);

    editors.number = 8;
    editors.side = SideAll;
    c.commit(editors, store);
    EXPECT_EQ((store.*c.slots)[3], BoxSideSettings({8, "px", false}));
    EXPECT_EQ(editors.number, -4);
    EXPECT_EQ(editors.unit, "%");
    EXPECT_TRUE(editors.checked);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Groups, BoxSideSwitching,
    ::testing::Values(BoxCase{"Margin", commitMarginEditors, &StyleSettingsStore::margin,
                              &StyleSettingsStore::currentMarginSide},
                      BoxCase{"Padding", commitPaddingEditors, &StyleSettingsStore::padding,
                              &StyleSettingsStore::currentPaddingSide}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SideEditors, GroupsDoNotShareSlots) {
  StyleSettingsStore store;
  MemoryBoxEditors margin;
  margin.number = 6;
  margin.checked = true;
  commitMarginEditors(margin, store);
  EXPECT_TRUE(store.margin[0].enabled);
  EXPECT_FALSE(store.padding[0].enabled);
}

TEST(SideEditors, ASideOutsideTheListThrowsAfterSaving) {
  StyleSettingsStore store;
  MemoryBorderEditors editors;
  editors.widthValue = 9;
  editors.side = -1;
  EXPECT_THROW(commitBorderEditors(editors, store), std::out_of_range);
  EXPECT_EQ(store.border[0].width, 9);
  EXPECT_EQ(store.currentBorderSide, SideAll);
}

} // namespace
} // namespace style
