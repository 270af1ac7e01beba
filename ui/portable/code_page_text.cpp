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
std::size_t pieceEnd(std::basic_string_view<Unit> text, std::size_t from, bool stopAtAscii) {
  const std::size_t limit = from + std::min(text.size() - from, kConversionPiece);
  if (stopAtAscii) {
    std::size_t ascii = 0;
    for (std::size_t at = from; at < limit; ++at) {
      ascii = isAscii(text[at]) ? ascii + 1 : 0;
      if (ascii == kAsciiStretch && at + 1 - ascii > from)
        return at + 1 - ascii;
    }
  }
  if (limit < text.size() && isHighSurrogate(text[limit - 1]) && limit - 1 > from)
    return limit - 1;
  return limit;
}

template <class Unit> bool isLowSurrogate(Unit unit) {
  return (static_cast<std::uint32_t>(unit) & 0xFC00) == 0xDC00;
}

// How many code units the character at `at` takes: a surrogate pair is one
// character.
template <class Unit>
std::size_t characterLength(std::basic_string_view<Unit> text, std::size_t at) {
  return at + 1 < text.size() && isHighSurrogate(text[at]) && isLowSurrogate(text[at + 1]) ? 2 : 1;
}

// Code page 932 reads each of these JIS X 0208 characters back as the second
// character of its pair; the first is how Unicode text from the web and from
// other systems spells it. Both are written as the same two bytes.
constexpr char16_t kJisSpellings[][2] = {
    {u'\u301C', u'\uFF5E'}, // WAVE DASH, 0x8160
    {u'\u2212', u'\uFF0D'}, // MINUS SIGN, 0x817C
    {u'\u2014', u'\u2015'}, // EM DASH, 0x815C
    {u'\u2016', u'\u2225'}, // DOUBLE VERTICAL LINE, 0x8161
    {u'\u00A2', u'\uFFE0'}, // CENT SIGN, 0x8191
    {u'\u00A3', u'\uFFE1'}, // POUND SIGN, 0x8192
    {u'\u00AC', u'\uFFE2'}, // NOT SIGN, 0x81CA
};

template <class Unit> Unit codePage932Spelling(Unit unit) {
  for (const auto& pair : kJisSpellings)
    if (static_cast<std::uint32_t>(unit) == pair[0])
      return static_cast<Unit>(pair[1]);
  return unit;
}

// The piece as the code page reads its bytes back: `piece` itself, or, where it
// holds one of the seven characters above on code page 932, a copy in `copy`
// with each of them replaced by the one the code page reads back.
template <class Unit>
std::basic_string_view<Unit> asReadBack(std::basic_string_view<Unit> piece, bool codePage932,
                                        std::basic_string<Unit>& copy) {
  if (!codePage932)
    return piece;
  const auto respelt = [](Unit unit) { return codePage932Spelling(unit) != unit; };
  if (std::none_of(piece.begin(), piece.end(), respelt))
    return piece;
  copy.assign(piece.begin(), piece.end());
  std::transform(copy.begin(), copy.end(), copy.begin(), codePage932Spelling<Unit>);
  return copy;
}

// Whether `piece` converts and comes back as `readBack`; its bytes are appended
// to `out` either way.
template <class Unit>
bool convertsExactly(std::basic_string_view<Unit> readBack, const CodePage<Unit>& page,
                     std::string& out, std::basic_string<Unit>& back) {
  const std::size_t start = out.size();
  back.clear();
  return page.appendBytes(readBack, out) &&
         page.appendUnits(std::string_view(out).substr(start), back) && back == readBack;
}

// The first character of a refused piece that the code page cannot store on
// its own, as an offset into the piece; the piece's start if each one can.
template <class Unit>
std::size_t firstUnstorable(std::basic_string_view<Unit> piece, const CodePage<Unit>& page,
                            bool codePage932) {
  std::basic_string<Unit> copy, back;
  std::string bytes;
  for (std::size_t at = 0; at < piece.size();) {
    const std::size_t length = characterLength(piece, at);
    bytes.clear();
    if (!convertsExactly(asReadBack(piece.substr(at, length), codePage932, copy), page, bytes,
                         back))
      return at;
    at += length;
  }
  return 0;
}

} // namespace

template <class Unit>
CodePageText toCodePage(std::basic_string_view<Unit> text, const CodePage<Unit>& page) {
  static_assert(sizeof(Unit) == 2, "UTF-16 code units");
  static_assert(kConversionPiece >= 2 && kAsciiStretch >= 1); // a surrogate pair fits
  const bool asciiAsIs = asciiIsItself(page);
  const bool codePage932 = page.number() == 932;

  std::string out;
  const std::size_t perUnit = std::max<std::size_t>(page.maxBytesPerUnit(), 1);
  out.reserve(text.size() <= out.max_size() / perUnit ? text.size() * perUnit : text.size());
  std::basic_string<Unit> back, copy;
  for (std::size_t in = 0; in < text.size();) {
    // Long ASCII stretches, and one that ends the text, are copied as they are.
    const std::size_t ascii = asciiAsIs ? asciiRun(text, in) : 0;
    if (ascii >= kAsciiStretch || (ascii > 0 && in + ascii == text.size())) {
      appendAscii(text.substr(in, ascii), out);
      in += ascii;
      continue;
    }
    // The rest is converted a piece at a time, then converted back and
    // compared: a character the code page lacks comes back as "?" or a
    // look-alike and is refused rather than written. This is faster than
    // asking the conversion for default characters and works for every code
    // page (an unpaired surrogate comes back as something else too).
    const std::basic_string_view<Unit> piece = text.substr(in, pieceEnd(text, in, asciiAsIs) - in);
    if (!convertsExactly(asReadBack(piece, codePage932, copy), page, out, back))
      return {std::nullopt, in + firstUnstorable(piece, page, codePage932)};
    in += piece.size();
  }
  return {std::move(out), 0};
}

template <class Unit> TextPlace placeOf(std::basic_string_view<Unit> text, std::size_t offset) {
  TextPlace place;
  place.offset = offset;
  for (std::size_t at = 0; at < offset;) {
    if (text[at] == u'\r' && at + 1 < offset && text[at + 1] == u'\n') {
      ++place.line;
      place.column = 1;
      at += 2;
      continue;
    }
    ++place.column;
    at += characterLength(text, at);
  }
  place.length = characterLength(text, offset);
  place.codePoint = static_cast<char32_t>(text[offset]);
  if (place.length == 2)
    place.codePoint = 0x10000 + ((place.codePoint - 0xD800) << 10) +
                      (static_cast<char32_t>(text[offset + 1]) - 0xDC00);
  return place;
}

template CodePageText toCodePage(std::u16string_view, const CodePage<char16_t>&);
template TextPlace placeOf(std::u16string_view, std::size_t);
#if WCHAR_MAX <= 0xFFFF
template CodePageText toCodePage(std::wstring_view, const CodePage<wchar_t>&);
template TextPlace placeOf(std::wstring_view, std::size_t);
#endif

} // namespace ui
