// libFuzzer target: the stylesheet text's conversion to the code page, cut
// into pieces and ASCII stretches, against one conversion of the whole text by
// the same code page (iconv's CP932, or UTF-8); a refused text is refused at
// its first character that does not convert on its own, and all before it
// converts. The input picks the code page and a lead-in that brings the text
// that follows near a cut (ASCII up to near a stretch's length), then builds
// the text from tokens: ASCII characters and runs, Japanese, characters CP932
// cannot store, lone and paired surrogates, CR and LF.
#include "tests/document/iconv_code_page.h"
#include "tests/document/reference_code_page.h"
#include "ui/portable/code_page_text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

// Stored by CP932, among them ones whose second byte is "\" or "~", half-width
// katakana (one byte), characters of the NEC and IBM extensions, and the seven
// that web text spells otherwise (wave dash, minus, dash, double vertical
// line, cent, pound, not sign).
constexpr char16_t kJapanese[] = u"表ソ能ｱｲﾟ～①纊∥－￢ー　あ見出しゴＰ・〜−—‖¢£¬";
// Not stored by CP932, or stored only one way (yen sign, overline).
constexpr char16_t kUnstorable[] = u"é€¥‾ß™";

class Input {
public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

template <std::size_t N> char16_t pick(const char16_t (&table)[N], std::uint8_t byte) {
  return table[byte % (N - 1)]; // without the final NUL
}

std::u16string buildText(Input& in) {
  std::u16string text;
  while (!in.empty()) {
    const std::uint8_t token = in.next();
    const std::uint8_t detail = in.next();
    switch (token % 10) {
    case 0:
    case 1: // any ASCII character, NUL and DEL included
      text += static_cast<char16_t>(detail & 0x7F);
      break;
    case 2: // an ASCII run, long enough to cross stretches and pieces
      for (int i = 0; i < detail % 64; ++i)
        text += static_cast<char16_t>(u'a' + (i + detail) % 26);
      break;
    case 3:
    case 4:
      text += pick(kJapanese, detail);
      break;
    case 5:
      text += pick(kUnstorable, detail);
      break;
    case 6: // a lone half: high or low
      text += static_cast<char16_t>((detail & 1 ? 0xDC00 : 0xD800) + (detail >> 1));
      break;
    case 7: // a surrogate pair
      text += static_cast<char16_t>(0xD800 + (detail & 0x3F));
      text += static_cast<char16_t>(0xDC00 + detail);
      break;
    case 8:
      text += detail & 1 ? u"\r\n" : u"\n";
      break;
    default:
      text += u'\r';
      break;
    }
  }
  return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const sheetloom_test::IconvCodePage shiftJis("CP932", 932);
  static const sheetloom_test::IconvCodePage utf8("UTF-8", 65001);
  Input in(data, size);
  const ui::CodePage<char16_t>& page =
      in.next() % 4 == 0 ? static_cast<const ui::CodePage<char16_t>&>(utf8) : shiftJis;
  // Half the texts are led in with ASCII up to near a stretch's length. A
  // lead-in to a piece's end (32K units) would make each run slow under the
  // sanitizers; the tests' tables put characters at those ends.
  const std::uint8_t leadIn = in.next();
  std::u16string text;
  if (leadIn % 2 == 0)
    text.assign(ui::kAsciiStretch - leadIn / 2 % 40, u'a');
  text += buildText(in);

  const std::optional<std::string> expected = sheetloom_test::wholeText(text, page);
  const ui::CodePageText converted = ui::toCodePage<char16_t>(text, page);
  if (converted.bytes != expected)
    __builtin_trap();
  if (!expected) {
    const std::size_t at = converted.refusedAt;
    if (at >= text.size())
      __builtin_trap();
    const std::u16string_view view(text);
    const ui::TextPlace place = ui::placeOf(view, at);
    if (sheetloom_test::wholeText(view.substr(at, place.length), page) ||
        !sheetloom_test::wholeText(view.substr(0, at), page))
      __builtin_trap();
  }
  return 0;
}
