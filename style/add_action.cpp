#include "style/add_action.h"

#include "style/rule_composer.h"

#include <string>

namespace style {

void addRule(AddActionView& view, StyleSettingsStore& store) {
  commit(view.borderEditors(), store, BorderSides);
  commit(view.marginEditors(), store, MarginSides);
  commit(view.paddingEditors(), store, PaddingSides);

  const std::string rule = RuleComposer::compose(view.readRuleSettings(), store);
  view.appendRule(rule);
}

} // namespace style
