#include "controls/portable/spin_value.h"

#include "toolkit/portable/digits.h"

namespace controls {
namespace {

int hexDigit(uint32_t c) {
  if (c >= '0' && c <= '9')
    return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f')
    return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F')
    return static_cast<int>(c - 'A' + 10);
  return -1;
}

// Characters are compared as code points, so that a wide or a narrow text
// (any byte above 127 included) is read the same way.
template <class Char> uint32_t at(std::basic_string_view<Char> text, size_t i) {
  using Unsigned = std::make_unsigned_t<Char>;
  return static_cast<Unsigned>(text[i]);
}

template <class Char> std::optional<int32_t> parse(std::basic_string_view<Char> text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && at(text, i) == ' ')
    ++i;
  bool negative = false;
  if (i < n && (at(text, i) == '+' || at(text, i) == '-')) {
    negative = at(text, i) == '-';
    ++i;
  }
  if (i >= n)
    return std::nullopt;

  bool hex = false;
  if (at(text, i) == '$' || at(text, i) == 'x' || at(text, i) == 'X') {
    hex = true;
    ++i;
  } else if (at(text, i) == '0' && i + 1 < n &&
             (at(text, i + 1) == 'x' || at(text, i + 1) == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n)
    return std::nullopt;

  if (hex) {
    uint32_t bits = 0;
    int significant = 0;
    for (; i < n; ++i) {
      const int d = hexDigit(at(text, i));
      if (d < 0)
        return std::nullopt;
      if (significant > 0 || d != 0)
        ++significant;
      if (significant > 8)
        return std::nullopt;
      bits = (bits << 4) | static_cast<uint32_t>(d);
    }
    if (negative)
      bits = 0u - bits;
    return static_cast<int32_t>(bits);
  }

  // Decimal: the magnitude may reach 2^31 only for a negative number.
  const uint64_t limit = negative ? 2147483648u : 2147483647u;
  uint64_t magnitude = 0;
  for (; i < n; ++i) {
    const uint32_t c = at(text, i);
    if (c < '0' || c > '9')
      return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit)
      return std::nullopt;
  }
  if (negative)
    return static_cast<int32_t>(0u - static_cast<uint32_t>(magnitude));
  return static_cast<int32_t>(magnitude);
}

} // namespace

std::optional<int32_t> parseSpinText(std::wstring_view text) {
  return parse(text);
}
std::optional<int32_t> parseSpinText(std::string_view text) {
  return parse(text);
}

int32_t applyRange(int32_t value, int32_t minValue, int32_t maxValue) noexcept {
  if (minValue == maxValue)
    return value;
  if (value < minValue)
    return minValue;
  if (value > maxValue)
    return maxValue;
  return value;
}

int32_t stepValue(int32_t value, int32_t increment, bool up) noexcept {
  const auto v = static_cast<uint32_t>(value);
  const auto inc = static_cast<uint32_t>(increment);
  return static_cast<int32_t>(up ? v + inc : v - inc);
}

std::wstring formatSpinValue(int32_t value) {
  return tk::decimal<wchar_t>(value);
}

bool acceptsSpinChar(wchar_t ch, bool editorEnabled, wchar_t decimalSeparator) noexcept {
  if (ch == L'\r')
    return false;
  if ((ch >= L'0' && ch <= L'9') || ch == L'+' || ch == L'-' || ch == decimalSeparator ||
      ch == L'\b')
    return editorEnabled;
  return ch >= 1 && ch <= 31;
}

} // namespace controls
