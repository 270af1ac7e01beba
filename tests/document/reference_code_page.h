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

// The whole text in one conversion and back: the bytes the pieces must add up
// to, or nothing when a character does not come back as itself.
inline std::optional<std::string> wholeText(std::u16string_view text,
                                            const ui::CodePage<char16_t>& page) {
  std::string bytes;
  std::u16string back;
  if (!page.appendBytes(text, bytes) || !page.appendUnits(bytes, back) || back != text)
    return std::nullopt;
  return bytes;
}

} // namespace sheetloom_test
