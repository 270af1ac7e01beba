// Composes the text of one CSS rule from the window's values and the store.
#pragma once

#include "style/settings.h"

#include <string>

namespace style {

// The rule is the selector line ("selector{"), the declaration lines
// ("  property: value;") and the closing line ("}"), each ending in CR LF.
// Values are written exactly as held: nothing is trimmed, quoted (apart from
// the background image's url("...")) or validated.
class RuleComposer {
public:
  // Returns the rule text. No side effects.
  static std::string compose(const RuleSettings& rule, const StyleSettingsStore& store);
};

} // namespace style
