#include "style/options.h"
#include "style/settings.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace style {
namespace {

TEST(OptionTables, OptionalListsStartWithAnEmptyEntry) {
  EXPECT_EQ(AlignKeywords.labels[0], "");
  EXPECT_EQ(AlignKeywords.css[0], "");
  EXPECT_EQ(VAlignKeywords.labels[0], "");
  EXPECT_EQ(CursorKeywords.labels[0], "");
  EXPECT_EQ(PositionKeywords.labels[0], "");
  EXPECT_EQ(RepeatKeywords.labels[0], "");
}

TEST(OptionTables, EntriesAndTheirCss) {
  struct Case {
    std::string_view label, css, wantLabel, wantCss;
  };
  const Case cases[] = {
      {SideChoices[0], SideSuffix[0], "上下左右", ""},
      {SideChoices[4], SideSuffix[4], "下", "-bottom"},
      {AlignKeywords.label(3), AlignKeywords.cssAt(3), "中央揃え", "  text-align: center;"},
      {VAlignKeywords.label(4), VAlignKeywords.cssAt(4), "テキストの上端",
       "  vertical-align: text-top;"},
      {CursorKeywords.label(3), CursorKeywords.cssAt(3), "リンク", "  cursor: pointer;"},
      {CursorKeywords.label(16), CursorKeywords.cssAt(16), "リサイズ(左下隅)",
       "  cursor: sw-resize;"},
      {PositionKeywords.label(3), PositionKeywords.cssAt(3), "絶対位置(固定)",
       "  position: fixed;"},
      {BorderStyleKeywords.label(0), BorderStyleKeywords.cssAt(0), "なし", "none"},
      {BorderStyleKeywords.label(6), BorderStyleKeywords.cssAt(6), "隆起した線", "ridge"},
      {RepeatKeywords.label(1), RepeatKeywords.cssAt(1), "縦横に繰り返し表示する（初期値）",
       "repeat"},
      {RepeatKeywords.label(4), RepeatKeywords.cssAt(4), "1回だけ表示して、繰り返さない。",
       "no-repeat"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.label, c.wantLabel);
    EXPECT_EQ(c.css, c.wantCss) << c.wantLabel;
  }
}

TEST(OptionTables, IndicesOutsideATableGiveEmptyText) {
  EXPECT_EQ(AlignKeywords.cssAt(-1), "");
  EXPECT_EQ(AlignKeywords.cssAt(5), "");
  EXPECT_EQ(CursorKeywords.label(17), "");
}

TEST(OptionTables, TagChoicesRunFromAToVar) {
  EXPECT_EQ(TagChoices.front(), "A");
  EXPECT_EQ(TagChoices[12], "BODY");
  EXPECT_EQ(TagChoices.back(), "VAR");
  EXPECT_EQ(UnitChoices[0], "px");
}

TEST(StyleSettingsStore, StartsWithItsDefaults) {
  StyleSettingsStore store;
  store.border[2].width = 9;
  store.margin[1].enabled = true;
  store.currentPaddingSide = 3;
  store.fontDeclarations = "  color: #FF0000;\r\n";
  store.reset();

  for (Side side = 0; side < static_cast<Side>(SideCount); ++side) {
    const BorderSideSettings& border = store.borderSlot(side);
    EXPECT_EQ(border.colour, "#000000");
    EXPECT_EQ(border.unit, "px");
    EXPECT_EQ(border.styleIndex, 0);
    EXPECT_EQ(border.width, 1);
    EXPECT_FALSE(border.enabled);
    EXPECT_EQ(store.marginSlot(side), BoxSideSettings({0, "px", false}));
    EXPECT_EQ(store.paddingSlot(side), BoxSideSettings({0, "px", false}));
  }
  EXPECT_EQ(store.currentBorderSide, 0);
  EXPECT_EQ(store.currentMarginSide, 0);
  EXPECT_EQ(store.currentPaddingSide, 0);
  EXPECT_TRUE(store.fontDeclarations.empty());
}

TEST(StyleSettingsStore, RejectsSidesOutsideTheTable) {
  StyleSettingsStore store;
  EXPECT_THROW(store.borderSlot(-1), std::out_of_range);
  EXPECT_THROW(store.marginSlot(5), std::out_of_range);
}

} // namespace
} // namespace style
