#include "style/add_action.h"

#include "style/rule_composer.h"

namespace sheetloom::style {

void addRule(AddActionView& view, StyleSettingsStore& store) {
  commitBorderEditors(view.borderEditors(), store);
  commitMarginEditors(view.marginEditors(), store);
  commitPaddingEditors(view.paddingEditors(), store);

  const RuleSettings settings = view.readRuleSettings();
  std::string text = view.stylesheetText();
  RuleComposer::composeInto(text, settings, store);
  view.setStylesheetText(text);
}

} // namespace sheetloom::style
