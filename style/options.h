// The option tables: for every list of the window, the labels it shows and the
// CSS each entry stands for, addressed by zero-based item index. The window
// takes its list entries from here and the composer its keywords, so the two
// can never disagree.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

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
extern const std::array<std::string_view, SideCount> SideChoices;
// Appended directly to "border", "margin" or "padding"; empty for the
// shorthand of side 0.
extern const std::array<std::string_view, SideCount> SideSuffix;

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

// Declaration tables: `css` holds the whole declaration line.
extern const OptionTable<5> AlignKeywords;
extern const OptionTable<8> VAlignKeywords;
extern const OptionTable<17> CursorKeywords;
extern const OptionTable<4> PositionKeywords;

// Keyword tables: `css` holds the value only. Every border style, index 0
// ("none") included, is a keyword.
extern const OptionTable<9> BorderStyleKeywords;
extern const OptionTable<5> RepeatKeywords;

// Entries of every unit combo; the combos are editable, so the unit actually
// written is whatever text the combo holds.
extern const std::array<std::string_view, 3> UnitChoices;

// Entries of the selector combo; only an aid, the selector is any typed text.
extern const std::array<std::string_view, 84> TagChoices;

} // namespace style
