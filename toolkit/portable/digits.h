// Integers as text, through std::to_chars: no locale, and none of the printf
// machinery that std::to_wstring and the printf family bring into the
// executable (floating point included: a tenth of the program's size).
// Standard C++ only, so the portable layers use it as well.
#pragma once

#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

namespace tk {

// `value` in decimal, with "-" before a negative one: "42", "-2147483648".
template <typename Char = char, std::integral T> std::basic_string<Char> decimal(T value) {
  char digits[std::numeric_limits<T>::digits10 + 2]; // every digit and a sign
  char* end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
  return std::basic_string<Char>(std::begin(digits), end);
}

// `value` in hexadecimal, at least `count` digits with leading zeros: 255 and
// 4 give "00ff", or "00FF" in upper case.
template <typename Char = char>
std::basic_string<Char> hexDigits(std::uint32_t value, std::size_t count, bool upperCase = false) {
  char digits[8];
  char* end = std::to_chars(std::begin(digits), std::end(digits), value, 16).ptr;
  const auto length = static_cast<std::size_t>(end - std::begin(digits));
  std::basic_string<Char> text(count > length ? count - length : 0, Char('0'));
  for (const char* digit = std::begin(digits); digit != end; ++digit)
    text += static_cast<Char>(upperCase && *digit >= 'a' ? *digit - 'a' + 'A' : *digit);
  return text;
}

} // namespace tk
