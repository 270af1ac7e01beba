// Composes the text of one CSS rule from the window's values and the store.
#pragma once

#include "style/settings.h"

#include <string>
#include <string_view>

namespace sheetloom::style {

// The rule is the selector line ("selector{"), the declaration lines
// ("  property: value;") and the closing line ("}"), each ending in CR LF.
// Values are written exactly as held: nothing is trimmed, quoted (apart from
// the background image's url("...")) or validated.
class RuleComposer {
public:
  // Returns the rule text. No side effects.
  static std::string compose(const RuleSettings& rule, const StyleSettingsStore& store);

  // Appends the rule text to `out`, for callers that build the stylesheet in
  // place or reuse a buffer.
  static void composeInto(std::string& out, const RuleSettings& rule,
                          const StyleSettingsStore& store);
};

// The stylesheet after adding a rule: the previous text followed immediately
// by the rule. A text without a final line break gets the selector joined to
// its last line, as a plain append does.
std::string appendRule(std::string_view stylesheet, std::string_view rule);

} // namespace sheetloom::style
