// The stylesheet text (UTF-16) as the bytes of the file: converted to a code
// page, where a character the code page cannot store is refused rather than
// written as a substitute, and the first one refused is found. Standard C++
// only: the conversion of a piece of text is handed in, so the cutting, the
// ASCII shortcut and the round-trip check are tested natively, under the
// sanitizers and a fuzzer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

// The conversion of one piece of text to a code page and back, as the system
// provides it. `Unit` is a 16-bit UTF-16 code unit type (wchar_t on Windows,
// char16_t elsewhere).
template <class Unit> class CodePage {
public:
  using Text = std::basic_string_view<Unit>;

  virtual ~CodePage() = default;
  // The most bytes one code unit can become; a hint for reserving space.
  virtual std::size_t maxBytesPerUnit() const = 0;
  // Append the conversion of `text` to `out`. Return false when it failed.
  // A character the code page lacks may come out as a substitute: the caller
  // finds it by converting back.
  virtual bool appendBytes(Text text, std::string& out) const = 0;
  // Append the conversion of `bytes` back to UTF-16 to `out`. Return false
  // when it failed.
  virtual bool appendUnits(std::string_view bytes, std::basic_string<Unit>& out) const = 0;
  // The code page's number as the system knows it (932 for Shift_JIS), or 0.
  virtual unsigned number() const { return 0; }
};

// How the text is cut: pieces of at most kConversionPiece units are converted
// and checked at a time, and ASCII stretches of at least kAsciiStretch units
// are copied byte for byte instead (the tests and the fuzzer put characters
// on both sides of these ends).
constexpr std::size_t kConversionPiece = std::size_t{32} * 1024;
constexpr std::size_t kAsciiStretch = 256;

// The text's conversion: its bytes, or, when a character cannot be stored,
// no bytes and where the first such character begins (in code units).
struct CodePageText {
  std::optional<std::string> bytes;
  std::size_t refusedAt = 0;
};

// `text` in the code page, refused when it holds a character the code page
// cannot store (an unpaired surrogate included). Line breaks and every other
// character pass as they are; no byte is added. On code page 932 seven
// characters that text from the web and other systems uses for the JIS X 0208
// ones are written as those (U+301C as 0x8160, U+2212 as 0x817C, U+2014 as
// 0x815C, U+2016 as 0x8161, U+00A2 as 0x8191, U+00A3 as 0x8192, U+00AC as
// 0x81CA), although the code page reads them back as other characters.
template <class Unit>
CodePageText toCodePage(std::basic_string_view<Unit> text, const CodePage<Unit>& page);

// Where a character of a text stands, for telling the user.
struct TextPlace {
  std::size_t offset = 0; // code units from the start of the text
  std::size_t length = 0; // code units: 2 for a surrogate pair, else 1
  std::size_t line = 1;   // from 1; lines end at CR LF, as the memo shows them
  std::size_t column = 1; // from 1, in characters (a surrogate pair is one)
  char32_t codePoint = 0; // an unpaired surrogate stands for itself
};

// The place of the character that begins at `offset` (< text.size()).
template <class Unit> TextPlace placeOf(std::basic_string_view<Unit> text, std::size_t offset);

} // namespace ui
