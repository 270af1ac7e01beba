// Code pages as the reference conversions of the tests: iconv's natively, the
// system's own under Windows.
#pragma once

#include "ui/portable/code_page_text.h"

namespace sheetloom_test {

const ui::CodePage<char16_t>& shiftJis();
// UTF-8, which stores every character, supplementary ones as four bytes.
const ui::CodePage<char16_t>& utf8();

} // namespace sheetloom_test
