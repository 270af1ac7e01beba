// The option tables: for every list of the window, the labels it shows and the
// CSS each entry stands for, addressed by zero-based item index. The window
// takes its list entries from here and the composer its keywords, so the two
// can never disagree.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The lists are defined here, so that each one's length is that of its
// entries. They are constexpr, one copy per file that uses them, and not
// inline: mingw-w64's linker, linking link-time-optimised objects, warns of
// an inline variable's section (and refuses it beside an object compiled
// without link-time optimisation).

namespace style {

// The box side a border, margin or padding setting applies to. The order is
// that of the side lists and the order in which rules list the sides: all,
// top, left, right, bottom (not the clockwise order of CSS).
using Side = std::int32_t;
inline constexpr Side SideAll = 0;
inline constexpr Side SideTop = 1;
inline constexpr Side SideLeft = 2;
inline constexpr Side SideRight = 3;
inline constexpr Side SideBottom = 4;
inline constexpr std::size_t SideCount = 5;

// Labels of the three side lists.
constexpr auto SideChoices = std::to_array<std::string_view>({"上下左右", "上", "左", "右", "下"});
// Appended directly to "border", "margin" or "padding"; empty for the
// shorthand of side 0.
constexpr auto SideSuffix =
    std::to_array<std::string_view>({"", "-top", "-left", "-right", "-bottom"});
static_assert(SideChoices.size() == SideCount && SideSuffix.size() == SideCount);

// One option list: its labels and, per entry, either a complete declaration
// line (two spaces, property, value, ";", without the line break) or a bare
// keyword. Index 0 of an optional list is the empty "not set" entry.
template <std::size_t N> struct OptionTable {
  std::array<std::string_view, N> labels;
  std::array<std::string_view, N> css;

  static constexpr bool holds(std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < N;
  }
  // Out-of-range indices (-1 for "nothing selected") give an empty text.
  constexpr std::string_view label(std::int32_t index) const {
    return holds(index) ? labels[static_cast<std::size_t>(index)] : std::string_view{};
  }
  constexpr std::string_view cssAt(std::int32_t index) const {
    return holds(index) ? css[static_cast<std::size_t>(index)] : std::string_view{};
  }
};

// A table as long as its entries; labels and css of different lengths do not
// compile.
template <std::size_t N>
constexpr OptionTable<N> optionTable(const std::string_view (&labels)[N],
                                     const std::string_view (&css)[N]) {
  return {std::to_array(labels), std::to_array(css)};
}

// Declaration tables: `css` holds the whole declaration line.
constexpr OptionTable AlignKeywords =
    optionTable({"", "左寄せ", "右寄せ", "中央揃え", "均等割付"},
                {"", "  text-align: left;", "  text-align: right;", "  text-align: center;",
                 "  text-align: justify;"});

constexpr OptionTable VAlignKeywords = optionTable(
    {"", "上端揃え", "中央揃え", "下端揃え", "テキストの上端", "テキストの下端", "上付き文字",
     "下付き文字"},
    {"", "  vertical-align: top;", "  vertical-align: middle;", "  vertical-align: bottom;",
     "  vertical-align: text-top;", "  vertical-align: text-bottom;", "  vertical-align: super;",
     "  vertical-align: sub;"});

constexpr OptionTable CursorKeywords =
    optionTable({"", "自動", "デフォルト", "リンク", "十字", "移動", "テキスト編集", "処理中",
                 "ヘルプ", "リサイズ(上端)", "リサイズ(下端)", "リサイズ(左端)", "リサイズ(右端)",
                 "リサイズ(左上隅)", "リサイズ(右上隅)", "リサイズ(右下隅)", "リサイズ(左下隅)"},
                {"", "  cursor: auto;", "  cursor: default;", "  cursor: pointer;",
                 "  cursor: crosshair;", "  cursor: move;", "  cursor: text;", "  cursor: wait;",
                 "  cursor: help;", "  cursor: n-resize;", "  cursor: s-resize;",
                 "  cursor: w-resize;", "  cursor: e-resize;", "  cursor: nw-resize;",
                 "  cursor: ne-resize;", "  cursor: se-resize;", "  cursor: sw-resize;"});

constexpr OptionTable PositionKeywords =
    optionTable({"", "相対位置", "絶対位置", "絶対位置(固定)"},
                {"", "  position: relative;", "  position: absolute;", "  position: fixed;"});

// Keyword tables: `css` holds the value only. Every border style, index 0
// ("none") included, is a keyword.
constexpr OptionTable BorderStyleKeywords = optionTable(
    {"なし", "1本線", "2本線", "点線", "破線", "くぼんだ線", "隆起した線", "インセット",
     "アウトセット"},
    {"none", "solid", "double", "dotted", "dashed", "groove", "ridge", "inset", "outset"});

constexpr OptionTable RepeatKeywords =
    optionTable({"", "縦横に繰り返し表示する（初期値）", "横方向のみ繰り返し表示する",
                 "縦方向のみ繰り返し表示する", "1回だけ表示して、繰り返さない。"},
                {"", "repeat", "repeat-x", "repeat-y", "no-repeat"});

// Entries of every unit combo; the combos are editable, so the unit actually
// written is whatever text the combo holds.
constexpr auto UnitChoices = std::to_array<std::string_view>({"px", "em", "ex"});

// Entries of the selector combo; only an aid, the selector is any typed text.
constexpr auto TagChoices = std::to_array<std::string_view>(
    {"A",        "A:ACTIVE", "A:HOVER", "A:LINK",   "A:VISITED",  "ADDRESS", "AREA",
     "B",        "BASEFONT", "BDO",     "BIG",      "BLOCKQUOTE", "BODY",    "BUTTON",
     "CAPTION",  "CENTER",   "COL",     "COLGROUP", "DD",         "DEL",     "DFN",
     "DIR",      "DIV",      "DL",      "DT",       "EM",         "EMBED",   "FIELDSET",
     "FONT",     "FORM",     "FRAME",   "FRAMESET", "H1",         "H2",      "H3",
     "H4",       "H5",       "H6",      "HR",       "HTML",       "I",       "IFRAME",
     "IMG",      "INPUT",    "INS",     "KBD",      "LABEL",      "LEGEND",  "LI",
     "MAP",      "MENU",     "NOBR",    "NOFRAMES", "NOSCRIPT",   "OBJECT",  "OL",
     "OPTGROUP", "OPTION",   "P",       "PRE",      "Q",          "RB",      "RP",
     "RT",       "RUBY",     "S",       "SAMP",     "SELECT",     "SMALL",   "SPAN",
     "STRIKE",   "STRONG",   "SUB",     "SUP",      "TABLE",      "TBODY",   "TD",
     "TEXTAREA", "TH",       "TR",      "TT",       "U",          "UL",      "VAR"});

} // namespace style
