// The add action without a window: bring the store up to date from the side
// editors, read the window's values, compose the rule and append it.
#pragma once

#include "style/settings.h"
#include "style/side_editors.h"

#include <string_view>

namespace style {

// What the add action needs from the window. The main window implements it
// over its controls; tests implement it in memory.
class AddActionView {
public:
  virtual ~AddActionView() = default;

  virtual SideGroup<BorderSideSettings>& borderEditors() = 0;
  virtual SideGroup<BoxSideSettings>& marginEditors() = 0;
  virtual SideGroup<BoxSideSettings>& paddingEditors() = 0;
  // Read after the side editors are committed.
  virtual RuleSettings readRuleSettings() const = 0;
  // Puts `rule` after the last character of the stylesheet text, in one piece.
  // A text without a final line break gets the selector joined to its last
  // line.
  virtual void appendRule(std::string_view rule) = 0;
};

// Commits the border, margin and padding editors in that order, reads the
// window, composes the rule and appends it. If anything throws, nothing is
// appended (the side slots committed so far stay committed).
void addRule(AddActionView& view, StyleSettingsStore& store);

} // namespace style
