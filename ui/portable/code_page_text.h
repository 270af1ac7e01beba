// The stylesheet text (UTF-16) as the bytes of the file: converted to a code
// page, where a character the code page cannot store is refused rather than
// written as a substitute. Standard C++ only: the conversion of a piece of
// text is handed in, so the cutting, the ASCII shortcut and the round-trip
// check are tested natively, under the sanitizers and a fuzzer.
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
};

// How the text is cut: pieces of at most `maxPiece` units are converted and
// checked at a time, and ASCII stretches of at least `asciiStretch` units are
// copied byte for byte instead. Only tests and the fuzzer change them, to
// reach the cuts with short texts.
struct ConversionPieces {
  std::size_t maxPiece = std::size_t{32} * 1024;
  std::size_t asciiStretch = 256;
};

// `text` in the code page, or nothing when it holds a character the code page
// cannot store (an unpaired surrogate included). Line breaks and every other
// character pass as they are; no byte is added.
template <class Unit>
std::optional<std::string> toCodePage(std::basic_string_view<Unit> text, const CodePage<Unit>& page,
                                      ConversionPieces pieces = {});

} // namespace ui
