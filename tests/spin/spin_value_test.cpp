#include "controls/portable/spin_value.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct Conversion {
  const char* text;
  std::optional<int32_t> value;
};

TEST(SpinValue, ConvertsTextToInteger) {
  const Conversion cases[] = {
      {"0", 0},
      {"007", 7},
      {"+5", 5},
      {"-0", 0},
      {" 5", 5},
      {"   -12", -12},
      {"5 ", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {"+-5", std::nullopt},
      {"- 5", std::nullopt},
      {"\t5", std::nullopt},
      {"1.5", std::nullopt},
      {"5-5", std::nullopt},
      {"abc", std::nullopt},
      {"2147483647", INT32_MAX},
      {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
      {"-2147483649", std::nullopt},
      {"00000000000000000000002147483647", INT32_MAX},
      {"99999999999999999999", std::nullopt},
      {"$1F", 31},
      {"x1F", 31},
      {"X1F", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$7fffffff", INT32_MAX},
      {"$000000000FFFFFFFF", -1},
      {"$100000000", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"x", std::nullopt},
      {"$1G", std::nullopt},
      {"$ 1", std::nullopt},
      {"0x1F ", std::nullopt},
      {"00x1F", std::nullopt},
      {"  +$10", 16},
      {"-$10", -16},
      {"-$80000000", INT32_MIN},
      {"\xef\xbc\x95", std::nullopt}, // a full-width digit five in UTF-8
  };
  for (const auto& c : cases) {
    EXPECT_EQ(controls::parseSpinText(std::string_view(c.text)), c.value) << '"' << c.text << '"';
    const std::string narrow(c.text);
    const std::wstring wide(narrow.begin(), narrow.end());
    EXPECT_EQ(controls::parseSpinText(std::wstring_view(wide)), c.value) << '"' << c.text << '"';
  }
}

TEST(SpinValue, WideCharactersBeyondAsciiAreNotDigits) {
  EXPECT_EQ(controls::parseSpinText(std::wstring_view(L"\xFF15")), std::nullopt);  // full-width 5
  EXPECT_EQ(controls::parseSpinText(std::wstring_view(L"1\x0660")), std::nullopt); // Arabic-Indic 0
}

struct Range {
  int32_t value, minValue, maxValue, expected;
};

TEST(SpinValue, RangeRule) {
  const Range cases[] = {
      // Equal bounds: no bounds at all.
      {7, 5, 5, 7},
      {-5, 0, 0, -5},
      {INT32_MIN, 0, 0, INT32_MIN},
      // Ordinary bounds.
      {0, 1, 10, 1},
      {11, 1, 10, 10},
      {50, 1, 10, 10},
      {1, 1, 10, 1},
      {10, 1, 10, 10},
      {5, 1, 10, 5},
      {INT32_MIN, -3, 3, -3},
      {INT32_MAX, -3, 3, 3},
      // Inverted bounds: the lower one is tested first.
      {7, 10, 5, 10},
      {12, 10, 5, 5},
      {10, 10, 5, 5},
      {4, 10, 5, 10},
  };
  for (const auto& c : cases)
    EXPECT_EQ(controls::applyRange(c.value, c.minValue, c.maxValue), c.expected)
        << c.value << " in " << c.minValue << ".." << c.maxValue;
}

TEST(SpinValue, StepsWrapAroundIn32Bits) {
  EXPECT_EQ(controls::stepValue(3, 5, true), 8);
  EXPECT_EQ(controls::stepValue(0, 1, false), -1);
  EXPECT_EQ(controls::stepValue(INT32_MAX, 1, true), INT32_MIN);
  EXPECT_EQ(controls::stepValue(INT32_MIN, 1, false), INT32_MAX);
  EXPECT_EQ(controls::stepValue(INT32_MIN, INT32_MIN, true), 0);
  EXPECT_EQ(controls::stepValue(5, -2, true), 3);
  EXPECT_EQ(controls::stepValue(5, 0, false), 5);
  EXPECT_EQ(controls::stepValue(0, INT32_MIN, false), INT32_MIN);
}

TEST(SpinValue, FormatsPlainDecimalThatReadsBack) {
  for (int32_t v : {0, 7, -5, INT32_MAX, INT32_MIN, 1000000}) {
    const std::wstring text = controls::formatSpinValue(v);
    EXPECT_EQ(controls::parseSpinText(std::wstring_view(text)), v);
  }
  EXPECT_EQ(controls::formatSpinValue(-2147483647 - 1), L"-2147483648");
  EXPECT_EQ(controls::formatSpinValue(1234567), L"1234567");
}

TEST(SpinValue, TypingFilter) {
  struct Case {
    wchar_t ch;
    bool enabled, disabled;
  };
  const Case cases[] = {
      {L'0', true, false},       {L'9', true, false},     {L'+', true, false},
      {L'-', true, false},       {L',', true, false},     {L'\b', true, false},
      {L'\r', false, false},     {L'\x01', true, true},   {L'\x16', true, true},
      {L'\x18', true, true},     {L'\x1F', true, true},   {L'\n', true, true},
      {L'.', false, false},      {L'a', false, false},    {L' ', false, false},
      {L'$', false, false},      {L'\x7F', false, false}, {L'\xFF', false, false},
      {L'\xFF15', false, false}, {L'\0', false, false},
  };
  for (const auto& c : cases) {
    // ',' stands as the decimal separator here, '.' as an ordinary symbol.
    EXPECT_EQ(controls::acceptsSpinChar(c.ch, true, L','), c.enabled) << int(c.ch);
    EXPECT_EQ(controls::acceptsSpinChar(c.ch, false, L','), c.disabled) << int(c.ch);
  }
  EXPECT_TRUE(controls::acceptsSpinChar(L'.', true, L'.'));
}

} // namespace
