#include "style/font_colour.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace style {
namespace {

TEST(ColorCode, RedGreenBlueFromThePlatformByteOrder) {
  struct Case {
    std::uint32_t colour;
    const char* want;
  };
  const Case cases[] = {
      {0x000000FF, "#FF0000"}, {0x00FF0000, "#0000FF"}, {0x0000FF00, "#00FF00"},
      {0x00000000, "#000000"}, {0x00FFFFFF, "#FFFFFF"}, {0x000A0B0C, "#0C0B0A"},
      {0xFF123456, "#563412"}, // the top byte is not part of the colour
  };
  for (const Case& c : cases) {
    EXPECT_EQ(colorCode(c.colour), c.want) << std::hex << c.colour;
  }
}

TEST(FontSize, CharacterHeightToPointsRoundsHalvesAwayFromZero) {
  struct Case {
    std::int32_t height, pixelsPerInch, points;
  };
  const Case cases[] = {
      {-16, 96, 12}, {-20, 120, 12}, {-16, 120, 10}, // 9.6
      {-13, 96, 10},                                 // 9.75
      {-6, 96, 5},                                   // 4.5
      {-2, 96, 2},                                   // 1.5
      {6, 96, -5},                                   // -4.5
      {0, 96, 0},    {-1, 120, 1},                   // 0.6
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pointSizeFromHeight(c.height, c.pixelsPerInch), c.points)
        << c.height << " at " << c.pixelsPerInch;
  }
}

TEST(FontSize, PointsToCharacterHeight) {
  EXPECT_EQ(heightFromPointSize(12, 96), -16);
  EXPECT_EQ(heightFromPointSize(12, 120), -20);
  EXPECT_EQ(heightFromPointSize(9, 120), -15);
  EXPECT_EQ(heightFromPointSize(10, 144), -20);
  EXPECT_EQ(heightFromPointSize(1, 108), -2); // 1.5
}

TEST(FontSize, RejectsAMissingResolutionAndOverflow) {
  EXPECT_THROW(pointSizeFromHeight(-16, 0), std::invalid_argument);
  EXPECT_THROW(heightFromPointSize(12, -96), std::invalid_argument);
  EXPECT_THROW(heightFromPointSize(INT32_MAX, 96), std::overflow_error);
}

FontDescription startingFont() {
  FontDescription font;
  font.faceName = "ＭＳ Ｐゴシック";
  font.height = -16;
  font.pixelsPerInch = 96;
  return font;
}

TEST(FontDeclarations, StartingFontGivesColourSizeAndFamily) {
  EXPECT_EQ(fontDeclarations(startingFont()), "  color: #000000;\r\n"
                                              "  font-size: 12px;\r\n"
                                              "  font-family: ＭＳ Ｐゴシック;\r\n");
}

TEST(FontDeclarations, StylesAndDecorations) {
  struct Case {
    const char* name;
    std::int32_t weight;
    bool italic, underline, strikeOut;
    const char* styleLines;     // between size and family
    const char* decorationLine; // after family
  };
  const Case cases[] = {
      {"bold italic", 700, true, false, false, "  font-style: italic;\r\n  font-weight: bold;\r\n",
       ""},
      {"semibold", 600, false, false, false, "  font-weight: bold;\r\n", ""},
      {"normal weight", 400, false, false, false, "", ""},
      {"underline", 400, false, true, false, "", "  text-decoration: underline;\r\n"},
      {"strike-out", 400, false, false, true, "", "  text-decoration: line-through;\r\n"},
      {"both", 400, false, true, true, "", "  text-decoration: underline line-through;\r\n"},
  };
  for (const Case& c : cases) {
    FontDescription font = startingFont();
    font.faceName = "Times New Roman";
    font.weight = c.weight;
    font.italic = c.italic;
    font.underline = c.underline;
    font.strikeOut = c.strikeOut;
    font.colour = 0x00FF0000;
    EXPECT_EQ(fontDeclarations(font), std::string("  color: #0000FF;\r\n"
                                                  "  font-size: 12px;\r\n") +
                                          c.styleLines + "  font-family: Times New Roman;\r\n" +
                                          c.decorationLine)
        << c.name;
  }
}

// Bold is any weight above the normal 400: a semibold face counts.
TEST(FontDeclarations, BoldLineForEveryWeightAboveNormal) {
  struct Case {
    std::int32_t weight;
    bool bold;
  };
  const Case cases[] = {{0, false},  {100, false}, {400, false}, {401, true},
                        {500, true}, {700, true},  {1000, true}};
  for (const Case& c : cases) {
    FontDescription font = startingFont();
    font.weight = c.weight;
    const std::string want = std::string("  color: #000000;\r\n"
                                         "  font-size: 12px;\r\n") +
                             (c.bold ? "  font-weight: bold;\r\n" : "") +
                             "  font-family: ＭＳ Ｐゴシック;\r\n";
    EXPECT_EQ(fontDeclarations(font), want) << "weight " << c.weight;
  }
}

TEST(FontDeclarations, SizeFollowsTheScreenResolution) {
  FontDescription font = startingFont();
  font.pixelsPerInch = 120;
  EXPECT_NE(fontDeclarations(font).find("  font-size: 10px;\r\n"), std::string::npos);
}

} // namespace
} // namespace style
