// The stylesheet text's conversion to the code page, cut into pieces and ASCII
// stretches, against the bytes of one conversion of the whole text. Natively
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
using ui::ConversionPieces;
using ui::toCodePage;

// The cuts every case is tried with: the program's own, and small ones that
// put piece ends and ASCII stretches everywhere in a short text.
const ConversionPieces kCuts[] = {{}, {2, 1}, {3, 2}, {5, 4}, {7, 3}, {16, 8}};

std::string describe(const ConversionPieces& cut) {
  return "pieces of " + std::to_string(cut.maxPiece) + ", ASCII stretches of " +
         std::to_string(cut.asciiStretch);
}

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
  };
  for (const auto& c : cases)
    for (const ConversionPieces& cut : kCuts)
      EXPECT_EQ(toCodePage<char16_t>(c.text, shiftJis(), cut), c.bytes)
          << c.bytes << ", " << describe(cut);
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
      {"line breaks only", u"\r\n\r\n\n\r\r"},
      {"half-width and symbols", u"ｱｲｳ①②纊～￢∥－\r\n" + stretch(9) + u"ｴ"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> whole = wholeText(c.text, shiftJis());
    ASSERT_TRUE(whole) << c.what;
    for (const ConversionPieces& cut : kCuts)
      EXPECT_EQ(toCodePage<char16_t>(c.text, shiftJis(), cut), whole)
          << c.what << ", " << describe(cut);
  }
}

// A character the code page lacks is refused wherever it stands: inside or
// right after a long ASCII stretch, among Japanese, at a piece end, or last.
// Those it stores only one way (yen sign, wave dash) count as lacking.
TEST(CodePageText, UnrepresentableCharactersAreRefusedEverywhere) {
  const std::u16string missing[] = {
      u"\U0001F600",
      u"\u00E9",
      u"\u20AC",
      u"\u00A5",
      u"\u301C",
      std::u16string(1, char16_t{0xD800}),                // high surrogate alone
      std::u16string(1, char16_t{0xDC00}),                // low surrogate alone
      std::u16string{char16_t{0xDE00}, char16_t{0xD83D}}, // the halves reversed
  };
  for (const std::u16string& m : missing) {
    const std::u16string texts[] = {
        m,
        stretch(1000) + m,
        stretch(1000) + m + stretch(1000),
        u"表" + m + u"表",
        stretch(1000) + u"表" + m,
        u"表" + stretch(1000) + u"a" + m,
        repeat(u"表", 32767) + m + u"表",
        repeat(u"表", 15) + m,
    };
    for (const std::u16string& text : texts)
      for (const ConversionPieces& cut : kCuts)
        EXPECT_EQ(toCodePage<char16_t>(text, shiftJis(), cut), std::nullopt)
            << "U+" << std::hex << static_cast<unsigned>(m[0]) << " in " << std::dec << text.size()
            << ", " << describe(cut);
  }
}

// A code page that stores supplementary characters (UTF-8): a surrogate pair
// at a piece's end is never cut in two, and an unpaired half is still refused.
TEST(CodePageText, SurrogatePairsStayWholeAtPieceEnds) {
  const std::u16string pair = u"\U0001F600";
  for (const ConversionPieces& cut : kCuts) {
    for (std::size_t before = 0; before < 20; ++before) {
      const std::u16string text = repeat(u"表", before) + pair + u"表" + pair;
      EXPECT_EQ(toCodePage<char16_t>(text, sheetloom_test::utf8(), cut),
                wholeText(text, sheetloom_test::utf8()))
          << before << ", " << describe(cut);
      const std::u16string lone = repeat(u"表", before) + pair.substr(0, 1) + u"表";
      EXPECT_EQ(toCodePage<char16_t>(lone, sheetloom_test::utf8(), cut), std::nullopt)
          << before << ", " << describe(cut);
    }
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
  for (const ConversionPieces& cut : kCuts) {
    EXPECT_EQ(toCodePage<char16_t>(stretch(600), shifted, cut), wholeText(stretch(600), shifted));
    EXPECT_EQ(toCodePage<char16_t>(stretch(600) + u"表", shifted, cut), std::nullopt);
  }
}

} // namespace
