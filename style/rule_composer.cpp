#include "style/rule_composer.h"

#include <cassert>
#include <charconv>
#include <cstring>

namespace sheetloom::style {

namespace {

// Most pieces of a rule are a few bytes long, where a call to the library's
// memcpy costs more than the copy. Up to 32 bytes are copied inline with two
// overlapping fixed-size moves that stay within [source, source + size).
template <std::size_t Width> void copyEnds(char* target, const char* source, std::size_t size) {
  char head[Width];
  char tail[Width];
  std::memcpy(head, source, Width);
  std::memcpy(tail, source + size - Width, Width);
  std::memcpy(target, head, Width);
  std::memcpy(target + size - Width, tail, Width);
}

inline void copy(char* target, const char* source, std::size_t size) {
  if (size > 32) {
    std::memcpy(target, source, size);
  } else if (size >= 16) {
    copyEnds<16>(target, source, size);
  } else if (size >= 8) {
    copyEnds<8>(target, source, size);
  } else if (size >= 4) {
    copyEnds<4>(target, source, size);
  } else if (size > 0) {
    target[0] = source[0];
    target[size / 2] = source[size / 2];
    target[size - 1] = source[size - 1];
  }
}

// Writes into storage sized beforehand, so each piece is a plain copy without
// a capacity check; composing a rule is then close to copying its bytes.
class Writer {
public:
  explicit Writer(char* at) : at_(at) {}

  char* position() const { return at_; }

  void put(std::string_view text) {
    copy(at_, text.data(), text.size());
    at_ += text.size();
  }
  void put(std::int32_t value) { at_ = std::to_chars(at_, at_ + MaxIntChars, value).ptr; }
  void endLine() { put("\r\n"); }
  void endDeclaration() { put(";\r\n"); }

  static constexpr std::size_t MaxIntChars = 11; // "-2147483648"

private:
  char* at_;
};

// Room for everything that is not user text: at most 43 lines, none with more
// than 31 fixed characters ("  background-attachment: fixed;"), plus at most
// one integer and CR LF. The room is zero-filled by resize, so it is kept
// tight.
constexpr std::size_t FixedRoom = 43 * (31 + Writer::MaxIntChars + 2);

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

// Property names per side, whole, so that a line is three copies: name, value,
// end.
constexpr std::array<std::string_view, SideCount> BorderColour{
    "  border-color: ", "  border-top-color: ", "  border-left-color: ", "  border-right-color: ",
    "  border-bottom-color: "};
constexpr std::array<std::string_view, SideCount> BorderStyle{
    "  border-style: ", "  border-top-style: ", "  border-left-style: ", "  border-right-style: ",
    "  border-bottom-style: "};
constexpr std::array<std::string_view, SideCount> BorderWidth{
    "  border-width: ", "  border-top-width: ", "  border-left-width: ", "  border-right-width: ",
    "  border-bottom-width: "};
constexpr std::array<std::string_view, SideCount> Margin{
    "  margin: ", "  margin-top: ", "  margin-left: ", "  margin-right: ", "  margin-bottom: "};
constexpr std::array<std::string_view, SideCount> Padding{
    "  padding: ", "  padding-top: ", "  padding-left: ", "  padding-right: ",
    "  padding-bottom: "};

void writeBorders(Writer& w, const StyleSettingsStore& store) {
  for (std::size_t side = 0; side < SideCount; ++side) {
    const BorderSideSettings& slot = store.border[side];
    if (!slot.enabled) {
      continue;
    }
    w.put(BorderColour[side]);
    w.put(slot.colour);
    w.endDeclaration();
    w.put(BorderStyle[side]);
    w.put(BorderStyleKeywords.cssAt(slot.styleIndex));
    w.endDeclaration();
    w.put(BorderWidth[side]);
    w.put(slot.width);
    w.put(slot.unit);
    w.endDeclaration();
  }
}

// Margins and paddings: the value is written whatever it is, 0 and negative
// values included.
void writeBoxSides(Writer& w, const std::array<std::string_view, SideCount>& properties,
                   const std::array<BoxSideSettings, SideCount>& slots) {
  for (std::size_t side = 0; side < SideCount; ++side) {
    const BoxSideSettings& slot = slots[side];
    if (!slot.enabled) {
      continue;
    }
    w.put(properties[side]);
    w.put(slot.value);
    w.put(slot.unit);
    w.endDeclaration();
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
    w.endDeclaration();
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
    w.endDeclaration();
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
    w.endDeclaration();
  }

  writeBorders(w, store);
  writeBoxSides(w, Margin, store.margin);
  writeBoxSides(w, Padding, store.padding);

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
