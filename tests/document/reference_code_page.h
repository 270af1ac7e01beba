// Code pages as the reference conversions of the tests: iconv's natively, the
// system's own under Windows.
#pragma once

#include "ui/portable/code_page_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace sheetloom_test {

const ui::CodePage<char16_t>& shiftJis();
// UTF-8, which stores every character, supplementary ones as four bytes.
const ui::CodePage<char16_t>& utf8();

// What code page 932 reads back from the bytes it writes for `c`, where the
// program takes that for `c` itself: the JIS X 0208 character that text from
// the web spells with another Unicode character (WAVE DASH, 0x8160, is read
// back as FULLWIDTH TILDE).
inline char16_t readBackOn932(char16_t c) {
  switch (c) {
  case u'\u301C':
    return u'\uFF5E';
  case u'\u2212':
    return u'\uFF0D';
  case u'\u2014':
    return u'\u2015';
  case u'\u2016':
    return u'\u2225';
  case u'\u00A2':
    return u'\uFFE0';
  case u'\u00A3':
    return u'\uFFE1';
  case u'\u00AC':
    return u'\uFFE2';
  default:
    return c;
  }
}

// The whole text in one conversion and back: the bytes the pieces must add up
// to, or nothing when a character does not come back as itself (or, on code
// page 932, as what it reads back for it).
inline std::optional<std::string> wholeText(std::u16string_view text,
                                            const ui::CodePage<char16_t>& page) {
  std::u16string expected(text);
  if (page.number() == 932)
    for (char16_t& c : expected)
      c = readBackOn932(c);
  std::string bytes;
  std::u16string back;
  if (!page.appendBytes(expected, bytes) || !page.appendUnits(bytes, back) || back != expected)
    return std::nullopt;
  return bytes;
}

} // namespace sheetloom_test
