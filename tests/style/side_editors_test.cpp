#include "style/side_editors.h"

#include "tests/support/memory_side_group.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <stdexcept>
#include <string>

namespace style {
namespace {

using sheetloom_test::MemoryBorderGroup;
using sheetloom_test::MemoryBoxGroup;

// The border group with a check box that reports program changes, as the
// window's does, so every load of the box re-enters the operation.
struct BorderGroup {
  StyleSettingsStore store;
  MemoryBorderGroup editors;
  int runs = 0;

  explicit BorderGroup(bool reentrant) {
    if (reentrant) {
      editors.onEnabledChanged = [this] { commit(); };
    }
  }
  void commit() {
    ++runs;
    style::commit(editors, store, BorderSides);
  }
  void chooseSide(Side side) {
    editors.chosenSide = side;
    commit();
  }
  void click() {
    editors.values.enabled = !editors.values.enabled;
    commit();
  }
};

class BorderSideSwitching : public ::testing::TestWithParam<bool> {};

TEST_P(BorderSideSwitching, EachSideKeepsItsOwnValues) {
  BorderGroup g(GetParam());
  g.click(); // enable side 0 with the editors' starting values (width 0)
  g.chooseSide(SideTop);

  EXPECT_FALSE(g.editors.values.enabled);
  EXPECT_EQ(g.editors.values.width, 1);
  EXPECT_EQ(g.editors.values.colour, "#000000");
  EXPECT_EQ(g.editors.values.unit, "px");
  EXPECT_EQ(g.editors.values.styleIndex, 0);
  EXPECT_EQ(g.store.currentBorderSide, SideTop);

  g.editors.values.width = 5;
  g.editors.values.colour = "blue";
  g.editors.values.unit = "rem";
  g.editors.values.styleIndex = 3;
  g.chooseSide(SideAll);

  EXPECT_TRUE(g.editors.values.enabled);
  EXPECT_EQ(g.editors.values.width, 0);
  EXPECT_EQ(g.store.border[0], BorderSideSettings({"#000000", "px", 0, 0, true}));
  EXPECT_EQ(g.store.border[1], BorderSideSettings({"blue", "rem", 3, 5, false}));
  for (std::size_t side = 2; side < SideCount; ++side) {
    EXPECT_EQ(g.store.border[side], BorderSideSettings{});
  }
}

TEST_P(BorderSideSwitching, CommittingWithoutSwitchingStoresTheEditors) {
  BorderGroup g(GetParam());
  g.chooseSide(SideTop);
  g.editors.values.width = 5;
  g.click();
  EXPECT_EQ(g.store.border[1].width, 5);
  EXPECT_TRUE(g.store.border[1].enabled);
  g.click();
  EXPECT_FALSE(g.store.border[1].enabled);
  EXPECT_FALSE(g.editors.values.enabled);
  EXPECT_EQ(g.editors.values.width, 5);
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
  SideSlots<BoxSideSettings> sides;
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
    MemoryBoxGroup editors;
    if (reentrant) {
      editors.onEnabledChanged = [&] { commit(editors, store, c.sides); };
    }
    editors.values.value = -4;
    editors.values.unit = "%";
    editors.values.enabled = true;
    editors.chosenSide = SideRight;
    commit(editors, store, c.sides);

    EXPECT_EQ((store.*c.slots)[0], BoxSideSettings({-4, "%", true}));
    EXPECT_EQ(store.*c.current, SideRight);
    EXPECT_EQ(editors.values.value, 0);
    EXPECT_EQ(editors.values.unit, "px");
    EXPECT_FALSE(editors.values.enabled);

    editors.values.value = 8;
    editors.chosenSide = SideAll;
    commit(editors, store, c.sides);
    EXPECT_EQ((store.*c.slots)[3], BoxSideSettings({8, "px", false}));
    EXPECT_EQ(editors.values.value, -4);
    EXPECT_EQ(editors.values.unit, "%");
    EXPECT_TRUE(editors.values.enabled);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Groups, BoxSideSwitching,
    ::testing::Values(BoxCase{"Margin", MarginSides, &StyleSettingsStore::margin,
                              &StyleSettingsStore::currentMarginSide},
                      BoxCase{"Padding", PaddingSides, &StyleSettingsStore::padding,
                              &StyleSettingsStore::currentPaddingSide}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SideEditors, GroupsDoNotShareSlots) {
  StyleSettingsStore store;
  MemoryBoxGroup margin;
  margin.values.value = 6;
  margin.values.enabled = true;
  commit(margin, store, MarginSides);
  EXPECT_TRUE(store.margin[0].enabled);
  EXPECT_FALSE(store.padding[0].enabled);
}

TEST(SideEditors, ASideOutsideTheListThrowsAfterSaving) {
  StyleSettingsStore store;
  MemoryBorderGroup editors;
  editors.values.width = 9;
  editors.chosenSide = -1;
  EXPECT_THROW(commit(editors, store, BorderSides), std::out_of_range);
  EXPECT_EQ(store.border[0].width, 9);
  EXPECT_EQ(store.currentBorderSide, SideAll);
}

} // namespace
} // namespace style
