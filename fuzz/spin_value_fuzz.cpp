// libFuzzer target: the spin edit's reading of its text, checked against a
// plainly written model that uses 64-bit arithmetic and strtoll/strtoull.
#include "controls/portable/spin_value.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool allOf(const std::string& s, int (*pred)(int)) {
  for (unsigned char c : s)
    if (!pred(c))
      return false;
  return !s.empty();
}
int isDecimal(int c) {
  return c >= '0' && c <= '9';
}
int isHex(int c) {
  return isDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string withoutLeadingZeros(const std::string& s) {
  const size_t first = s.find_first_not_of('0');
  return first == std::string::npos ? std::string() : s.substr(first);
}

std::optional<int32_t> model(std::string s) {
  s.erase(0, s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' '));
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.erase(0, 1);
  }
  std::string digits;
  if (!s.empty() && (s[0] == '$' || s[0] == 'x' || s[0] == 'X'))
    digits = s.substr(1);
  else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
    digits = s.substr(2);
  else {
    if (!allOf(s, isDecimal))
      return std::nullopt;
    const std::string significant = withoutLeadingZeros(s);
    if (significant.size() > 10)
      return std::nullopt;
    long long v = significant.empty() ? 0 : std::strtoll(significant.c_str(), nullptr, 10);
    if (negative)
      v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
      return std::nullopt;
    return static_cast<int32_t>(v);
  }
  if (!allOf(digits, isHex))
    return std::nullopt;
  const std::string significant = withoutLeadingZeros(digits);
  if (significant.size() > 8)
    return std::nullopt;
  unsigned long long bits =
      significant.empty() ? 0 : std::strtoull(significant.c_str(), nullptr, 16);
  if (negative)
    bits = (0x100000000ull - bits) & 0xFFFFFFFFull;
  return static_cast<int32_t>(static_cast<uint32_t>(bits));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<int32_t> expected = model(text);
  const std::optional<int32_t> narrow = controls::parseSpinText(std::string_view(text));
  if (narrow != expected)
    __builtin_trap();

  // The same bytes as wide characters read the same.
  std::wstring wide;
  for (unsigned char c : text)
    wide.push_back(static_cast<wchar_t>(c));
  if (controls::parseSpinText(std::wstring_view(wide)) != expected)
    __builtin_trap();

  // What the control writes back always reads as the same number.
  if (narrow) {
    const std::wstring shown = controls::formatSpinValue(*narrow);
    if (controls::parseSpinText(std::wstring_view(shown)) != narrow)
      __builtin_trap();
  }
  return 0;
}
