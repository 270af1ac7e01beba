// Under Windows the tests' text (char16_t) goes to the program's own
// conversion through a copy as wchar_t.
#include "tests/document/reference_code_page.h"
#include "ui/system_code_page.h"

#include <string>

namespace sheetloom_test {
namespace {

class WindowsCodePage final : public ui::CodePage<char16_t> {
public:
  explicit WindowsCodePage(UINT id) : page_(id) {}
  std::size_t maxBytesPerUnit() const override { return page_.maxBytesPerUnit(); }
  bool appendBytes(Text text, std::string& out) const override {
    return page_.appendBytes(std::wstring(text.begin(), text.end()), out);
  }
  bool appendUnits(std::string_view bytes, std::u16string& out) const override {
    std::wstring units;
    if (!page_.appendUnits(bytes, units))
      return false;
    out.append(units.begin(), units.end());
    return true;
  }
  unsigned number() const override { return page_.number(); }

private:
  ui::SystemCodePage page_;
};

} // namespace

const ui::CodePage<char16_t>& shiftJis() {
  static const WindowsCodePage page(932);
  return page;
}

const ui::CodePage<char16_t>& utf8() {
  static const WindowsCodePage page(CP_UTF8);
  return page;
}

} // namespace sheetloom_test
