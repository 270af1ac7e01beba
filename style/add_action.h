// The add action without a window: bring the store up to date from the side
// editors, read the window's values, compose the rule and append it.
#pragma once

#include "style/settings.h"
#include "style/side_editors.h"

#include <string>

namespace sheetloom::style {

// What the add action needs from the window. The main window implements it
// over its controls; tests implement it in memory.
class AddActionView {
public:
  virtual ~AddActionView() = default;

  virtual BorderEditors& borderEditors() = 0;
  virtual BoxEditors& marginEditors() = 0;
  virtual BoxEditors& paddingEditors() = 0;
  // Read after the side editors are committed.
  virtual RuleSettings readRuleSettings() const = 0;
  virtual std::string stylesheetText() const = 0;
  virtual void setStylesheetText(const std::string& text) = 0;
};

// Commits the border, margin and padding editors in that order, composes the
// rule and sets the stylesheet to its previous text followed by the rule, in
// one piece. If anything throws, the stylesheet is left as it was (the side
// slots committed so far stay committed).
void addRule(AddActionView& view, StyleSettingsStore& store);

} // namespace sheetloom::style
