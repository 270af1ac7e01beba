#include "style/rule_composer.h"

#include <cassert>
#include <charconv>
#include <cstring>

namespace sheetloom::style {

namespace {

// Writes into storage sized beforehand, so each piece is a plain copy without
// a capacity check; composing a rule is then close to copying its bytes.
class Writer {
public:
  explicit Writer(char* at) : at_(at) {}

  char* position() const { return at_; }

  void put(std::string_view text) {
    std::memcpy(at_, text.data(), text.size());
    at_ += text.size();
  }
  void put(std::int32_t value) { at_ = std::to_chars(at_, at_ + MaxIntChars, value).ptr; }
  void endLine() { put("\r\n"); }

  static constexpr std::size_t MaxIntChars = 11; // "-2147483648"

private:
  char* at_;
};

// Room for everything that is not user text: at most 43 lines, none with more
// than 40 fixed characters plus an integer (11) and CR LF (2).
constexpr std::size_t FixedRoom = 43 * (40 + Writer::MaxIntChars + 2);

std::size_t roomFor(const RuleSettings& rule, const StyleSettingsStore& store) {
  std::size_t room = FixedRoom + rule.selector.size() + store.fontDeclarations.size() +
                     rule.backgroundColour.size() + rule.backgroundImage.size() +
                     rule.widthUnit.size() + rule.heightUnit.size() + rule.topUnit.size() +
                     rule.bottomUnit.size() + rule.leftUnit.size() + rule.rightUnit.size();
  for (const BorderSideSettings& side : store.border) {
    room += side.colour.size() + side.unit.size();
  }
  for (const BoxSideSettings& side : store.margin) {
    room += side.unit.size();
  }
  for (const BoxSideSettings& side : store.padding) {
    room += side.unit.size();
  }
  return room;
}

void writeBorders(Writer& w, const StyleSettingsStore& store) {
  for (std::size_t side = 0; side < SideCount; ++side) {
    const BorderSideSettings& slot = store.border[side];
    if (!slot.enabled) {
      continue;
    }
    const std::string_view suffix = SideSuffix[side];
    w.put("  border");
    w.put(suffix);
    w.put("-color: ");
    w.put(slot.colour);
    w.put(";");
    w.endLine();
    w.put("  border");
    w.put(suffix);
    w.put("-style: ");
    w.put(BorderStyleKeywords.cssAt(slot.styleIndex));
    w.put(";");
    w.endLine();
    w.put("  border");
    w.put(suffix);
    w.put("-width: ");
    w.put(slot.width);
    w.put(slot.unit);
    w.put(";");
    w.endLine();
  }
}

// Margins and paddings: the value is written whatever it is, 0 and negative
// values included.
void writeBoxSides(Writer& w, std::string_view stem,
                   const std::array<BoxSideSettings, SideCount>& slots) {
  for (std::size_t side = 0; side < SideCount; ++side) {
    const BoxSideSettings& slot = slots[side];
    if (!slot.enabled) {
      continue;
    }
    w.put(stem);
    w.put(SideSuffix[side]);
    w.put(": ");
    w.put(slot.value);
    w.put(slot.unit);
    w.put(";");
    w.endLine();
  }
}

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
    w.put(";");
    w.endLine();
  }
}

void writeRule(Writer& w, const RuleSettings& rule, const StyleSettingsStore& store) {
  w.put(rule.selector);
  w.put("{");
  w.endLine();

  w.put(store.fontDeclarations);

  if (!rule.backgroundColour.empty()) {
    w.put("  background-color: ");
    w.put(rule.backgroundColour);
    w.put(";");
    w.endLine();
  }
  if (!rule.backgroundImage.empty()) {
    w.put("  background-image: url(\"");
    w.put(rule.backgroundImage);
    w.put("\");");
    w.endLine();
  }
  if (rule.backgroundFixed) {
    w.put("  background-attachment: fixed;");
    w.endLine();
  }
  if (rule.repeatIndex > 0 && RepeatKeywords.holds(rule.repeatIndex)) {
    w.put("  background-repeat: ");
    w.put(RepeatKeywords.cssAt(rule.repeatIndex));
    w.put(";");
    w.endLine();
  }

  writeBorders(w, store);
  writeBoxSides(w, "  margin", store.margin);
  writeBoxSides(w, "  padding", store.padding);

  writeChoice(w, AlignKeywords, rule.alignIndex);
  writeChoice(w, VAlignKeywords, rule.valignIndex);
  writeLength(w, "  width: ", rule.width, rule.widthUnit);
  writeLength(w, "  height: ", rule.height, rule.heightUnit);
  writeChoice(w, CursorKeywords, rule.cursorIndex);
  if (rule.stackOrder > 0) {
    w.put("  z-index: ");
    w.put(rule.stackOrder);
    w.put(";");
    w.endLine();
  }
  writeChoice(w, PositionKeywords, rule.positionIndex);

  writeLength(w, "  top: ", rule.top, rule.topUnit);
  writeLength(w, "  bottom: ", rule.bottom, rule.bottomUnit);
  writeLength(w, "  left: ", rule.left, rule.leftUnit);
  writeLength(w, "  right: ", rule.right, rule.rightUnit);

  if (rule.hidden) {
    w.put("  visibility: hidden;");
    w.endLine();
  }
  w.put("}");
  w.endLine();
}

} // namespace

void RuleComposer::composeInto(std::string& out, const RuleSettings& rule,
                               const StyleSettingsStore& store) {
  const std::size_t start = out.size();
  const std::size_t room = roomFor(rule, store);
  out.resize(start + room);
  Writer w(out.data() + start);
  writeRule(w, rule, store);
  const std::size_t written = static_cast<std::size_t>(w.position() - (out.data() + start));
  assert(written <= room);
  out.resize(start + written);
}

std::string RuleComposer::compose(const RuleSettings& rule, const StyleSettingsStore& store) {
  std::string out;
  composeInto(out, rule, store);
  return out;
}

std::string appendRule(std::string_view stylesheet, std::string_view rule) {
  std::string text;
  text.reserve(stylesheet.size() + rule.size());
  text.append(stylesheet);
  text.append(rule);
  return text;
}

} // namespace sheetloom::style
