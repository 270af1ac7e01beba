// A side group's editors held in memory, for running the side and add
// operations without a window (portable: the style tests use it natively).
#pragma once

#include "style/side_editors.h"

#include <functional>

namespace sheetloom_test {

// The editors as the window makes them: a side's defaults, except that the
// border width's spin edit starts at 0 where a new slot holds 1.
inline style::BorderSideSettings startingEditors(style::BorderSideSettings settings) {
  settings.width = 0;
  return settings;
}
inline style::BoxSideSettings startingEditors(style::BoxSideSettings settings) {
  return settings;
}

// Starts on side 0 with the window's starting editors. `onEnabledChanged`,
// when set, runs whenever show() changes the check state, as a check box's
// click event does.
template <typename Settings> struct MemorySideGroup final : style::SideGroup<Settings> {
  style::Side chosenSide = style::SideAll;
  Settings values = startingEditors(Settings{});
  std::function<void()> onEnabledChanged;

  style::Side side() const override { return chosenSide; }
  Settings read() const override { return values; }
  void show(const Settings& settings) override {
    const bool changed = settings.enabled != values.enabled;
    values = settings;
    if (changed && onEnabledChanged)
      onEnabledChanged();
  }
};

using MemoryBorderGroup = MemorySideGroup<style::BorderSideSettings>;
using MemoryBoxGroup = MemorySideGroup<style::BoxSideSettings>;

} // namespace sheetloom_test
