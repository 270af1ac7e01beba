// Turning the results of the font and colour dialogs into CSS text.
#pragma once

#include "style/settings.h"

#include <cstdint>
#include <string>

namespace style {

// "#RRGGBB" in upper-case hexadecimal.
using ColorCode = std::string;

// A colour as the platform stores it: red in the lowest byte, then green,
// then blue; the top byte is ignored.
ColorCode colorCode(std::uint32_t colour);

// What the font dialog reports on confirmation.
struct FontDescription {
  std::string faceName;            // UTF-8, written unquoted
  std::int32_t height = 0;         // pixels; negative for a character height
  std::int32_t pixelsPerInch = 96; // the screen's vertical pixels per inch
  std::int32_t weight = 400;       // above 400 counts as bold
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint32_t colour = 0; // as for colorCode
};

// Point size from a character height: -(height * 72 / pixelsPerInch), and
// back: -(points * pixelsPerInch / 72). Both round halves away from zero, so
// 12 points at 96 pixels per inch is a height of -16. Throw
// std::invalid_argument for pixelsPerInch <= 0 and std::overflow_error when
// the result does not fit.
std::int32_t pointSizeFromHeight(std::int32_t height, std::int32_t pixelsPerInch);
std::int32_t heightFromPointSize(std::int32_t points, std::int32_t pixelsPerInch);

// The declaration lines for a chosen font, in this order: colour, size (the
// point size written with "px"), italic, bold, family, text-decoration.
FontDeclarations fontDeclarations(const FontDescription& font);

} // namespace style
