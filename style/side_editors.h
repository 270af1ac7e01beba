// The commit-and-load operation of the border, margin and padding groups.
//
// The window has one set of editors per group but the store keeps a slot per
// side. Whenever a group's side list changes, its enable box is clicked, or a
// rule is added, the editors' values are saved into the slot of the side they
// were showing, the group's current side follows the side list, and the
// (possibly new) side's slot is loaded back into the editors.
#pragma once

#include "style/settings.h"

namespace style {

// A group's editors as the operation sees them: the side list and the editors
// of one side's settings (BorderSideSettings for `border_kind`, `border_style`,
// `border_unit`, `border_color`, `border_width` and `border_check`;
// BoxSideSettings for `Ma_*` or `Pa_*`).
template <typename Settings> class SideGroup {
public:
  virtual ~SideGroup() = default;

  virtual Side side() const = 0; // item index of the side list
  virtual Settings read() const = 0;
  // Loads every editor, the check box last. Loading the box may run the
  // operation again from inside (a check box that reports changes made by the
  // program); the result is the same either way.
  virtual void show(const Settings& settings) = 0;
};

// Where the store keeps a group's slots and the side its editors show.
template <typename Settings> struct SideSlots {
  Settings& (StyleSettingsStore::*slot)(Side);
  Side StyleSettingsStore::*current;
};
inline constexpr SideSlots<BorderSideSettings> BorderSides{&StyleSettingsStore::borderSlot,
                                                           &StyleSettingsStore::currentBorderSide};
inline constexpr SideSlots<BoxSideSettings> MarginSides{&StyleSettingsStore::marginSlot,
                                                        &StyleSettingsStore::currentMarginSide};
inline constexpr SideSlots<BoxSideSettings> PaddingSides{&StyleSettingsStore::paddingSlot,
                                                         &StyleSettingsStore::currentPaddingSide};

// The operation on one group: saves into the side being left, switches, loads
// the new side. A side index outside 0..4 throws std::out_of_range after the
// save, before anything is switched or loaded. If loading the check box
// re-enters, the inner run finds the current side already switched and every
// other editor already loaded, so it saves exactly what is in the slot and
// loads it again, changing nothing.
template <typename Settings>
void commit(SideGroup<Settings>& group, StyleSettingsStore& store, const SideSlots<Settings>& in) {
  const Settings held = group.read();
  (store.*in.slot)(store.*in.current) = held;

  const Side chosen = group.side();
  // A copy: a re-entrant run may write to the slot while it is being loaded.
  const Settings shown = (store.*in.slot)(chosen);
  store.*in.current = chosen;
  group.show(shown);
}

} // namespace style
