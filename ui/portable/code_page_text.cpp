#include "ui/portable/code_page_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>

namespace ui {
namespace {

template <class Unit> bool isAscii(Unit unit) {
  return static_cast<std::uint32_t>(unit) < 0x80;
}

template <class Unit> bool isHighSurrogate(Unit unit) {
  return (static_cast<std::uint32_t>(unit) & 0xFC00) == 0xD800;
}

// Whether each ASCII character is the one byte of the same value, both ways.
// True of the usual code pages; checked rather than assumed, since only then
// may ASCII be copied without the conversion.
template <class Unit> bool asciiIsItself(const CodePage<Unit>& page) {
  std::basic_string<Unit> units;
  std::string bytes;
  for (int c = 0; c < 0x80; ++c) {
    units.push_back(static_cast<Unit>(c));
    bytes.push_back(static_cast<char>(c));
  }
  std::string converted;
  std::basic_string<Unit> back;
  return page.appendBytes(units, converted) && converted == bytes &&
         page.appendUnits(bytes, back) && back == units;
}

// How many ASCII characters stand at `from`; four at a time where it can.
template <class Unit> std::size_t asciiRun(std::basic_string_view<Unit> text, std::size_t from) {
  std::size_t at = from;
  for (; text.size() - at >= 4; at += 4) {
    std::uint64_t four;
    std::memcpy(&four, text.data() + at, sizeof four);
    if (four & 0xFF80FF80FF80FF80u) // any unit of the four at 0x80 or above
      break;
  }
  while (at < text.size() && isAscii(text[at]))
    ++at;
  return at - from;
}

template <class Unit> void appendAscii(std::basic_string_view<Unit> run, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + run.size());
  std::transform(run.begin(), run.end(), out.begin() + static_cast<std::ptrdiff_t>(start),
                 [](Unit unit) { return static_cast<char>(unit); });
}

// Where the piece converted by the code page, starting at `from`, ends: before
// the next long ASCII stretch, after at most maxPiece units, never between the
// two halves of a surrogate pair. Always after `from`.
template <class Unit>
std::size_t pieceEnd(std::basic_string_view<Unit> text, std::size_t from,
                     const ConversionPieces& pieces, bool stopAtAscii) {
  const std::size_t limit = from + std::min(text.size() - from, pieces.maxPiece);
  if (stopAtAscii) {
    std::size_t ascii = 0;
    for (std::size_t at = from; at < limit; ++at) {
      ascii = isAscii(text[at]) ? ascii + 1 : 0;
      if (ascii == pieces.asciiStretch && at + 1 - ascii > from)
        return at + 1 - ascii;
    }
  }
  if (limit < text.size() && isHighSurrogate(text[limit - 1]) && limit - 1 > from)
    return limit - 1;
  return limit;
}

} // namespace

template <class Unit>
std::optional<std::string> toCodePage(std::basic_string_view<Unit> text, const CodePage<Unit>& page,
                                      ConversionPieces pieces) {
  static_assert(sizeof(Unit) == 2, "UTF-16 code units");
  pieces.maxPiece = std::max<std::size_t>(pieces.maxPiece, 2); // a surrogate pair fits
  pieces.asciiStretch = std::max<std::size_t>(pieces.asciiStretch, 1);
  const bool asciiAsIs = asciiIsItself(page);

  std::string out;
  const std::size_t perUnit = std::max<std::size_t>(page.maxBytesPerUnit(), 1);
  out.reserve(text.size() <= out.max_size() / perUnit ? text.size() * perUnit : text.size());
  std::basic_string<Unit> back;
  for (std::size_t in = 0; in < text.size();) {
    // Long ASCII stretches, and one that ends the text, are copied as they are.
    const std::size_t ascii = asciiAsIs ? asciiRun(text, in) : 0;
    if (ascii >= pieces.asciiStretch || (ascii > 0 && in + ascii == text.size())) {
      appendAscii(text.substr(in, ascii), out);
      in += ascii;
      continue;
    }
    // The rest is converted a piece at a time, then converted back and
    // compared: a character the code page lacks comes back as "?" or a
    // look-alike and is refused rather than written. This is faster than
    // asking the conversion for default characters and works for every code
    // page (an unpaired surrogate comes back as something else too).
    const std::basic_string_view<Unit> piece =
        text.substr(in, pieceEnd(text, in, pieces, asciiAsIs) - in);
    const std::size_t start = out.size();
    back.clear();
    if (!page.appendBytes(piece, out) ||
        !page.appendUnits(std::string_view(out).substr(start), back) || back != piece)
      return std::nullopt;
    in += piece.size();
  }
  return out;
}

template std::optional<std::string> toCodePage(std::u16string_view, const CodePage<char16_t>&,
                                               ConversionPieces);
#if WCHAR_MAX <= 0xFFFF
template std::optional<std::string> toCodePage(std::wstring_view, const CodePage<wchar_t>&,
                                               ConversionPieces);
#endif

} // namespace ui
