#include "style/rule_composer.h"

#include "toolkit/portable/digits.h"

#include <cstdint>
#include <string_view>

namespace style {

namespace {

// Every piece is appended to the string, which grows as it must: no length of
// a text is worked out beforehand, so no text can be written past the end.
class Writer {
public:
  explicit Writer(std::string& out) : out_(out) {}

  void put(std::string_view text) { out_.append(text); }
  void put(std::int32_t value) { out_.append(tk::decimal(value)); }
  void endLine() { put("\r\n"); }
  void endDeclaration() { put(";\r\n"); }

private:
  std::string& out_;
};

// A property's name for each side: the stem, the side's suffix, the rest
// ("  border", "-top", "-color: "). Made once from SideSuffix, so that each
// name is one piece to append.
using SideNames = std::array<std::string, SideCount>;

SideNames sideNames(std::string_view stem, std::string_view rest) {
  SideNames names;
  for (std::size_t side = 0; side < SideCount; ++side) {
    names[side].append(stem).append(SideSuffix[side]).append(rest);
  }
  return names;
}

struct SideProperties {
  SideNames borderColour = sideNames("  border", "-color: ");
  SideNames borderStyle = sideNames("  border", "-style: ");
  SideNames borderWidth = sideNames("  border", "-width: ");
  SideNames margin = sideNames("  margin", ": ");
  SideNames padding = sideNames("  padding", ": ");
};

const SideProperties& sideProperties() {
  static const SideProperties properties;
  return properties;
}

void writeBorders(Writer& w, const StyleSettingsStore& store) {
  const SideProperties& names = sideProperties();
  for (std::size_t side = 0; side < SideCount; ++side) {
    const BorderSideSettings& slot = store.border[side];
    if (!slot.enabled) {
      continue;
    }
    w.put(names.borderColour[side]);
    w.put(slot.colour);
    w.endDeclaration();
    w.put(names.borderStyle[side]);
    w.put(BorderStyleKeywords.cssAt(slot.styleIndex));
    w.endDeclaration();
    w.put(names.borderWidth[side]);
    w.put(slot.width);
    w.put(slot.unit);
    w.endDeclaration();
  }
}

// Margins and paddings: the value is written whatever it is, 0 and negative
// values included.
void writeBoxSides(Writer& w, const SideNames& names,
                   const std::array<BoxSideSettings, SideCount>& slots) {
  for (std::size_t side = 0; side < SideCount; ++side) {
    const BoxSideSettings& slot = slots[side];
    if (!slot.enabled) {
      continue;
    }
    w.put(names[side]);
    w.put(slot.value);
    w.put(slot.unit);
    w.endDeclaration();
  }
}

// An optional list whose entries are whole declaration lines: index 0 (the
// empty entry) and -1 (nothing selected) write nothing.
template <std::size_t N>
void writeChoice(Writer& w, const OptionTable<N>& table, std::int32_t index) {
  if (index > 0 && OptionTable<N>::holds(index)) {
    w.put(table.cssAt(index));
    w.endLine();
  }
}

// A length whose value must be positive to be written: width, height, offsets.
void writeLength(Writer& w, std::string_view property, std::int32_t value, std::string_view unit) {
  if (value > 0) {
    w.put(property);
    w.put(value);
    w.put(unit);
    w.endDeclaration();
  }
}

void writeBackground(Writer& w, const RuleSettings& rule) {
  if (!rule.backgroundColour.empty()) {
    w.put("  background-color: ");
    w.put(rule.backgroundColour);
    w.endDeclaration();
  }
  if (!rule.backgroundImage.empty()) {
    w.put("  background-image: url(\"");
    w.put(rule.backgroundImage);
    w.put("\");\r\n");
  }
  if (rule.backgroundFixed) {
    w.put("  background-attachment: fixed;\r\n");
  }
  if (rule.repeatIndex > 0 && RepeatKeywords.holds(rule.repeatIndex)) {
    w.put("  background-repeat: ");
    w.put(RepeatKeywords.cssAt(rule.repeatIndex));
    w.endDeclaration();
  }
}

void writeRule(Writer& w, const RuleSettings& rule, const StyleSettingsStore& store) {
  w.put(rule.selector);
  w.put("{\r\n");

  w.put(store.fontDeclarations);
  writeBackground(w, rule);

  writeBorders(w, store);
  writeBoxSides(w, sideProperties().margin, store.margin);
  writeBoxSides(w, sideProperties().padding, store.padding);

  writeChoice(w, AlignKeywords, rule.alignIndex);
  writeChoice(w, VAlignKeywords, rule.valignIndex);
  writeLength(w, "  width: ", rule.width, rule.widthUnit);
  writeLength(w, "  height: ", rule.height, rule.heightUnit);
  writeChoice(w, CursorKeywords, rule.cursorIndex);
  if (rule.stackOrder > 0) {
    w.put("  z-index: ");
    w.put(rule.stackOrder);
    w.endDeclaration();
  }
  writeChoice(w, PositionKeywords, rule.positionIndex);

  writeLength(w, "  top: ", rule.top, rule.topUnit);
  writeLength(w, "  bottom: ", rule.bottom, rule.bottomUnit);
  writeLength(w, "  left: ", rule.left, rule.leftUnit);
  writeLength(w, "  right: ", rule.right, rule.rightUnit);

  if (rule.hidden) {
    w.put("  visibility: hidden;\r\n");
  }
  w.put("}\r\n");
}

// The entry with the longest CSS.
template <std::size_t N> std::int32_t longestEntry(const OptionTable<N>& table) {
  std::size_t longest = 0;
  for (std::size_t i = 1; i < N; ++i) {
    if (table.css[i].size() > table.css[longest].size()) {
      longest = i;
    }
  }
  return static_cast<std::int32_t>(longest);
}

// The length of the rule with every line written, the longest entries, the
// widest numbers and the starting texts, worked out once by composing it:
// the first allocation, to which the user's texts are added. Only a size
// hint; a wrong one costs a reallocation, never a byte.
std::size_t fullRuleLength() {
  static const std::size_t length = [] {
    StyleSettingsStore store;
    for (std::size_t side = 0; side < SideCount; ++side) {
      store.border[side].enabled = store.margin[side].enabled = store.padding[side].enabled = true;
      store.border[side].styleIndex = longestEntry(BorderStyleKeywords);
      store.border[side].width = store.margin[side].value = store.padding[side].value = INT32_MIN;
    }
    RuleSettings rule;
    rule.backgroundFixed = rule.hidden = true;
    rule.repeatIndex = longestEntry(RepeatKeywords);
    rule.alignIndex = longestEntry(AlignKeywords);
    rule.valignIndex = longestEntry(VAlignKeywords);
    rule.cursorIndex = longestEntry(CursorKeywords);
    rule.positionIndex = longestEntry(PositionKeywords);
    rule.width = rule.height = rule.stackOrder = INT32_MAX;
    rule.top = rule.bottom = rule.left = rule.right = INT32_MAX;
    std::string text;
    Writer w(text);
    writeRule(w, rule, store);
    return text.size();
  }();
  return length;
}

} // namespace

std::string RuleComposer::compose(const RuleSettings& rule, const StyleSettingsStore& store) {
  std::string out;
  out.reserve(fullRuleLength() + rule.selector.size() + store.fontDeclarations.size() +
              rule.backgroundColour.size() + rule.backgroundImage.size());
  Writer w(out);
  writeRule(w, rule, store);
  return out;
}

} // namespace style
