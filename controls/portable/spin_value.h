// The spin edit's number as text: reading a text as a signed 32-bit integer,
// the range rule, one wrapping step, and the typing filter. Standard C++ only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace controls {

// The integer a text denotes, or nothing. Accepted: leading spaces (code 32
// only), at most one sign, then either decimal digits within the 32-bit range
// or a prefix "$", "x", "X", "0x", "0X" with one to eight significant hex
// digits giving the 32-bit pattern ("$FFFFFFFF" is -1); nothing may follow.
// A sign before a hex prefix negates the pattern ("-$10" is -16).
std::optional<int32_t> parseSpinText(std::wstring_view text);
std::optional<int32_t> parseSpinText(std::string_view text);

// Equal bounds mean no bounds; otherwise the lower bound is tested first.
int32_t applyRange(int32_t value, int32_t minValue, int32_t maxValue) noexcept;

// value + increment (or - increment) in 32-bit two's complement.
int32_t stepValue(int32_t value, int32_t increment, bool up) noexcept;

// Decimal, a minus sign for negatives, no plus sign, no grouping.
std::wstring formatSpinValue(int32_t value);

// The typing filter: digits, "+", "-", the decimal separator and backspace
// only while the editor is enabled; carriage return never; other control
// characters always; anything else never.
bool acceptsSpinChar(wchar_t ch, bool editorEnabled, wchar_t decimalSeparator) noexcept;

} // namespace controls
