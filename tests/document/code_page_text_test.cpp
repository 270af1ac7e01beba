// The stylesheet text's conversion to the code page, cut into pieces and ASCII
// stretches, against the bytes of one conversion of the whole text; the cases
// put characters on both sides of the cuts. Natively
// the code pages are iconv's; under Windows they are the system's.
#include "tests/document/reference_code_page.h"
#include "ui/portable/code_page_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace std::string_literals;
using sheetloom_test::shiftJis;
using sheetloom_test::wholeText;
using ui::kAsciiStretch;
using ui::kConversionPiece;
using ui::toCodePage;

std::u16string stretch(std::size_t n) {
  const std::u16string ascii = u"  margin-left: 4px;\\ \x7F\t\r\n\0~"s;
  std::u16string s;
  while (s.size() < n)
    s += ascii;
  s.resize(n);
  return s;
}

std::u16string repeat(std::u16string_view part, std::size_t times) {
  std::u16string s;
  for (std::size_t i = 0; i < times; ++i)
    s += part;
  return s;
}

// Bytes written out, so that the reference itself is checked too.
TEST(CodePageText, ShiftJisBytesAsTheyAreWritten) {
  const struct {
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"", ""},
      {u"A\r\n表\n\r", "A\r\n\x95\x5C\n\r"},
      {u"ソｱ～", "\x83\x5C\xB1\x81\x60"},
      {u"  font-family: ＭＳ Ｐゴシック;\r\n",
       "  font-family: \x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E;\r\n"},
      // As web pages spell the JIS X 0208 wave dash, minus, dash, double
      // vertical line, cent, pound and not signs; then as the code page does.
      {u"\u301C\u2212\u2014\u2016\u00A2\u00A3\u00AC",
       "\x81\x60\x81\x7C\x81\x5C\x81\x61\x81\x91\x81\x92\x81\xCA"},
      {u"\uFF5E\uFF0D\u2015\u2225\uFFE0\uFFE1\uFFE2",
       "\x81\x60\x81\x7C\x81\x5C\x81\x61\x81\x91\x81\x92\x81\xCA"},
      {u"/* 10\u301C20 */ P { margin: \u22121px; }", "/* 10\x81\x60"
                                                     "20 */ P { margin: \x81\x7C"
                                                     "1px; }"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(toCodePage<char16_t>(c.text, shiftJis()).bytes, c.bytes) << c.bytes;
}

// Wherever ASCII stretches, converted pieces and their ends meet, the bytes are
// those of one conversion of the whole text.
TEST(CodePageText, PiecesAddUpToTheWholeConversion) {
  const struct {
    const char* what;
    std::u16string text;
  } cases[] = {
      {"one character", u"a"},
      {"three", u"abc"},
      {"five", u"abcde"},
      {"ASCII only, long", stretch(70001)},
      {"Japanese after 255", stretch(255) + u"表ソ"},
      {"Japanese after 256", stretch(256) + u"表ソ"},
      {"Japanese after 257", stretch(257) + u"表ソ"},
      {"short ASCII tail", u"見出し" + stretch(3)},
      {"short ASCII between", u"見出し" + stretch(100) + u"ゴシック" + stretch(300)},
      {"long ASCII between", u"見出し" + stretch(5000) + u"ゴシック" + stretch(2) + u"表"},
      {"alternating", u"表a表ab表abc表abcd表abcde表" + stretch(33000) + u"ソ"},
      {"Japanese across a piece", repeat(u"表", 40000) + stretch(600)},
      {"Japanese filling a piece", repeat(u"表", kConversionPiece) + u"ソ"},
      {"Japanese one short of a piece", repeat(u"表", kConversionPiece - 1) + stretch(300)},
      {"a piece ending in short ASCII", repeat(u"表", kConversionPiece - 5) + stretch(10) + u"表"},
      {"two pieces and more", repeat(u"表ソ", kConversionPiece + 7)},
      {"ASCII one short of a stretch", u"表" + stretch(kAsciiStretch - 1) + u"表"},
      {"ASCII a stretch exactly", u"表" + stretch(kAsciiStretch) + u"表"},
      {"line breaks only", u"\r\n\r\n\n\r\r"},
      {"half-width and symbols", u"ｱｲｳ①②纊～￢∥－\r\n" + stretch(9) + u"ｴ"},
      {"JIS spellings of the web",
       stretch(300) + u"〜−—‖¢£¬" + stretch(2) + u"表〜" + stretch(400)},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> whole = wholeText(c.text, shiftJis());
    ASSERT_TRUE(whole) << c.what;
    EXPECT_EQ(toCodePage<char16_t>(c.text, shiftJis()).bytes, whole) << c.what;
  }
}

// A character the code page lacks is refused wherever it stands: inside or
// right after a long ASCII stretch, among Japanese, at a piece end, or last;
// the first one is found, with its line and column as the memo shows them.
// The yen sign, which would come back as the backslash, counts as lacking.
TEST(CodePageText, UnrepresentableCharactersAreRefusedEverywhere) {
  const struct {
    std::u16string text;
    char32_t codePoint;
  } missing[] = {
      {u"\U0001F600", 0x1F600},
      {u"\u00E9", 0xE9},
      {u"\u20AC", 0x20AC},
      {u"\u00A5", 0xA5},
      {std::u16string(1, char16_t{0xD800}), 0xD800},                // high surrogate alone
      {std::u16string(1, char16_t{0xDC00}), 0xDC00},                // low surrogate alone
      {std::u16string{char16_t{0xDE00}, char16_t{0xD83D}}, 0xDE00}, // the halves reversed
  };
  const struct {
    std::u16string before, after;
    std::size_t line, column;
  } places[] = {
      {u"", u"", 1, 1},
      {stretch(1000), u"", 38, 4},
      {stretch(1000), stretch(1000), 38, 4},
      {u"表", u"表", 1, 2},
      {stretch(1000) + u"表", u"", 38, 5},
      {u"表" + stretch(1000) + u"a", u"", 38, 5},
      {repeat(u"表", kConversionPiece - 1), u"表", 1, kConversionPiece},
      {repeat(u"表", kConversionPiece), u"表", 1, kConversionPiece + 1},
      {repeat(u"表", 2 * kConversionPiece + 1), u"", 1, 2 * kConversionPiece + 2},
      {u"表" + std::u16string(kAsciiStretch - 1, u'a'), u"表", 1, kAsciiStretch + 1},
      {u"表" + std::u16string(kAsciiStretch, u'a'), u"表", 1, kAsciiStretch + 2},
      {repeat(u"表", 15), u"", 1, 16},
      {u"A\r\n表\r\nb\rc\nd ", u"\r\n", 3, 7},
      {u"\r\n\r\nｱ表", u"\u00E9\u20AC", 3, 3},
      {u"x\r", u"\ny", 1, 3},
      {u"〜−—‖¢£¬", u"\u00A5", 1, 8},
  };
  for (const auto& m : missing) {
    for (const auto& p : places) {
      const std::u16string text = p.before + m.text + p.after;
      const std::string what = "U+" + std::to_string(m.codePoint) + " (decimal) after " +
                               std::to_string(p.before.size()) + " units";
      const ui::CodePageText converted = toCodePage<char16_t>(text, shiftJis());
      EXPECT_EQ(converted.bytes, std::nullopt) << what;
      EXPECT_EQ(converted.refusedAt, p.before.size()) << what;
      const ui::TextPlace place = ui::placeOf<char16_t>(text, p.before.size());
      EXPECT_EQ(place.line, p.line) << what;
      EXPECT_EQ(place.column, p.column) << what;
      EXPECT_EQ(place.codePoint, m.codePoint) << what;
      EXPECT_EQ(place.length, m.codePoint > 0xFFFF ? 2u : 1u) << what;
    }
  }
}

// A code page that stores supplementary characters (UTF-8): a surrogate pair
// at a piece's end is never cut in two, and an unpaired half is still refused.
TEST(CodePageText, SurrogatePairsStayWholeAtPieceEnds) {
  const std::u16string pair = u"\U0001F600";
  for (const std::size_t before :
       {std::size_t{0}, std::size_t{1}, kConversionPiece - 3, kConversionPiece - 2,
        kConversionPiece - 1, kConversionPiece, kConversionPiece + 1, 2 * kConversionPiece - 1}) {
    const std::u16string text = repeat(u"表", before) + pair + u"表" + pair;
    EXPECT_EQ(toCodePage<char16_t>(text, sheetloom_test::utf8()).bytes,
              wholeText(text, sheetloom_test::utf8()))
        << before;
    const std::u16string lone = repeat(u"表", before) + pair.substr(0, 1) + u"表";
    EXPECT_EQ(toCodePage<char16_t>(lone, sheetloom_test::utf8()).bytes, std::nullopt) << before;
  }
}

// A code page whose ASCII is not itself: every character goes through it, and
// a conversion that fails refuses the text.
TEST(CodePageText, AsciiIsCopiedOnlyWhereTheCodePageKeepsIt) {
  // ASCII moved by one (a to b, DEL to NUL), nothing else convertible.
  class Shifted final : public ui::CodePage<char16_t> {
  public:
    std::size_t maxBytesPerUnit() const override { return 1; }
    bool appendBytes(Text text, std::string& out) const override {
      for (char16_t unit : text) {
        if (unit >= 0x80)
          return false;
        out.push_back(static_cast<char>((unit + 1) % 0x80));
      }
      return true;
    }
    bool appendUnits(std::string_view bytes, std::u16string& out) const override {
      for (char byte : bytes)
        out.push_back(static_cast<char16_t>((byte + 0x7F) % 0x80));
      return true;
    }
  } shifted;
  EXPECT_EQ(toCodePage<char16_t>(stretch(600), shifted).bytes, wholeText(stretch(600), shifted));
  EXPECT_EQ(toCodePage<char16_t>(stretch(600) + u"表", shifted).bytes, std::nullopt);
}

} // namespace
