#include "style/rule_composer.h"

#include "toolkit/portable/digits.h"

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

// Lines written with no user text in them: at most 43 lines of at most 31
// fixed characters, an integer and CR LF. Only a size hint for the first
// allocation; a wrong hint costs a reallocation, never a byte.
constexpr std::size_t FixedTextHint = std::size_t{43} * (31 + 11 + 2);

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

} // namespace

std::string RuleComposer::compose(const RuleSettings& rule, const StyleSettingsStore& store) {
  std::string out;
  out.reserve(FixedTextHint + rule.selector.size() + store.fontDeclarations.size() +
              rule.backgroundColour.size() + rule.backgroundImage.size());
  Writer w(out);
  writeRule(w, rule, store);
  return out;
}

} // namespace style
