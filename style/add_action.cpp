#include "style/add_action.h"

#include "style/rule_composer.h"

#include <string>

namespace style {

void addRule(AddActionView& view, StyleSettingsStore& store) {
  commitBorderEditors(view.borderEditors(), store);
  commitMarginEditors(view.marginEditors(), store);
  commitPaddingEditors(view.paddingEditors(), store);

  const std::string rule = RuleComposer::compose(view.readRuleSettings(), store);
  view.appendRule(rule);
}

} // namespace style
