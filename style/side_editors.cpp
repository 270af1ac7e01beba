#include "style/side_editors.h"

namespace style {

namespace {

using BoxSlot = BoxSideSettings& (StyleSettingsStore::*)(Side);

// Saves into the side being left, switches, loads the new side. The check box
// is loaded last: if loading it re-enters, the inner run finds the current
// side already switched and every other editor already loaded, so it saves
// exactly what is in the slot and loads it again, changing nothing.
void commitBox(BoxEditors& editors, StyleSettingsStore& store, BoxSlot slot,
               Side StyleSettingsStore::*current) {
  BoxSideSettings& left = (store.*slot)(store.*current);
  left.unit = editors.unitText();
  left.value = editors.value();
  left.enabled = editors.enabled();

  const Side chosen = editors.sideIndex();
  // A copy: a re-entrant run may write to the slot while it is being loaded.
  const BoxSideSettings shown = (store.*slot)(chosen);
  store.*current = chosen;
  editors.setUnitText(shown.unit);
  editors.setValue(shown.value);
  editors.setEnabled(shown.enabled);
}

} // namespace

void commitBorderEditors(BorderEditors& editors, StyleSettingsStore& store) {
  BorderSideSettings& left = store.borderSlot(store.currentBorderSide);
  left.styleIndex = editors.styleIndex();
  left.unit = editors.unitText();
  left.colour = editors.colourText();
  left.width = editors.width();
  left.enabled = editors.enabled();

  const Side chosen = editors.sideIndex();
  const BorderSideSettings shown = store.borderSlot(chosen);
  store.currentBorderSide = chosen;
  editors.setStyleIndex(shown.styleIndex);
  editors.setUnitText(shown.unit);
  editors.setColourText(shown.colour);
  editors.setWidth(shown.width);
  editors.setEnabled(shown.enabled);
}

void commitMarginEditors(BoxEditors& editors, StyleSettingsStore& store) {
  commitBox(editors, store, &StyleSettingsStore::marginSlot,
            &StyleSettingsStore::currentMarginSide);
}

void commitPaddingEditors(BoxEditors& editors, StyleSettingsStore& store) {
  commitBox(editors, store, &StyleSettingsStore::paddingSlot,
            &StyleSettingsStore::currentPaddingSide);
}

namespace {

// A check box set by the program: its click event runs when the state changes.
void setCheckBox(bool& checked, const std::function<void()>& onChanged, bool state) {
  const bool changed = state != checked;
  checked = state;
  if (changed && onChanged)
    onChanged();
}

} // namespace

void MemoryBorderEditors::setEnabled(bool state) {
  setCheckBox(checked, onEnabledChanged, state);
}

void MemoryBoxEditors::setEnabled(bool state) {
  setCheckBox(checked, onEnabledChanged, state);
}

} // namespace style
