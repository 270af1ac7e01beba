#include "tests/document/iconv_code_page.h"
#include "tests/document/reference_code_page.h"

namespace sheetloom_test {

const ui::CodePage<char16_t>& shiftJis() {
  static const IconvCodePage page("CP932", 932);
  return page;
}

const ui::CodePage<char16_t>& utf8() {
  static const IconvCodePage page("UTF-8", 65001);
  return page;
}

} // namespace sheetloom_test
