// The settings records: what outlives a single rule (the store) and what is
// read afresh from the window for each rule (RuleSettings).
#pragma once

#include "style/options.h"

#include <array>
#include <cstdint>
#include <string>

namespace style {

// Zero or more complete declaration lines, each "  property: value;" CR LF,
// inserted verbatim into every rule.
using FontDeclarations = std::string;

// One side's border, as its editors last held it. Texts are kept as typed.
struct BorderSideSettings {
  std::string colour = "#000000";
  std::string unit = "px";
  std::int32_t styleIndex = 0; // index into BorderStyleKeywords
  std::int32_t width = 1;
  bool enabled = false;

  bool operator==(const BorderSideSettings& other) const;
  bool operator!=(const BorderSideSettings& other) const { return !(*this == other); }
};

// One side's margin or padding.
struct BoxSideSettings {
  std::int32_t value = 0;
  std::string unit = "px";
  bool enabled = false;

  bool operator==(const BoxSideSettings& other) const;
  bool operator!=(const BoxSideSettings& other) const { return !(*this == other); }
};

// The settings that outlive a single rule. One instance lives from the main
// window's creation to the end of the program and is never reset afterwards.
struct StyleSettingsStore {
  std::array<BorderSideSettings, SideCount> border;
  std::array<BoxSideSettings, SideCount> margin;
  std::array<BoxSideSettings, SideCount> padding;
  Side currentBorderSide = SideAll;
  Side currentMarginSide = SideAll;
  Side currentPaddingSide = SideAll;
  FontDeclarations fontDeclarations;

  // Puts every slot, current side and the font declarations to their
  // defaults; run once while the main window is created. A newly constructed
  // store already holds the same values.
  void reset();

  // Slot access by side; throws std::out_of_range for a side outside 0..4.
  BorderSideSettings& borderSlot(Side side);
  BoxSideSettings& marginSlot(Side side);
  BoxSideSettings& paddingSlot(Side side);
  const BorderSideSettings& borderSlot(Side side) const;
  const BoxSideSettings& marginSlot(Side side) const;
  const BoxSideSettings& paddingSlot(Side side) const;
};

// The window's values at the moment a rule is composed. Nothing of it is
// kept between rules. A default-constructed record holds the window's
// starting state: selector "BODY", every unit "px", every number 0, the align
// list on its empty entry and the other lists with nothing selected (-1).
struct RuleSettings {
  std::string selector = "BODY";

  std::string backgroundColour;
  std::string backgroundImage;
  bool backgroundFixed = false;
  std::int32_t repeatIndex = -1; // RepeatKeywords

  std::int32_t alignIndex = 0;   // AlignKeywords
  std::int32_t valignIndex = -1; // VAlignKeywords

  std::int32_t width = 0;
  std::string widthUnit = "px";
  std::int32_t height = 0;
  std::string heightUnit = "px";

  std::int32_t cursorIndex = -1; // CursorKeywords; -1 for a typed text
  std::int32_t stackOrder = 0;
  std::int32_t positionIndex = -1; // PositionKeywords

  // The offset units are the unit combos' texts, like the width and height
  // units, so a typed "%" or "rem" is written as typed.
  std::int32_t top = 0;
  std::string topUnit = "px";
  std::int32_t bottom = 0;
  std::string bottomUnit = "px";
  std::int32_t left = 0;
  std::string leftUnit = "px";
  std::int32_t right = 0;
  std::string rightUnit = "px";

  bool hidden = false;
};

} // namespace style
