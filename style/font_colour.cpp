#include "style/font_colour.h"

#include "toolkit/portable/digits.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace style {

namespace {

void requireResolution(std::int32_t pixelsPerInch) {
  if (pixelsPerInch <= 0) {
    // Shown to the user by the error display, hence Japanese.
    throw std::invalid_argument("画面の解像度が正しくありません");
  }
}

// -(number * multiplier / divisor), the division rounded half away from zero.
// divisor is positive.
std::int32_t negatedScaled(std::int32_t number, std::int32_t multiplier, std::int32_t divisor) {
  const std::int64_t product = static_cast<std::int64_t>(number) * multiplier;
  const std::int64_t magnitude = product < 0 ? -product : product;
  std::int64_t quotient = (2 * magnitude + divisor) / (2 * static_cast<std::int64_t>(divisor));
  if (product < 0) {
    quotient = -quotient;
  }
  const std::int64_t result = -quotient;
  if (result < std::numeric_limits<std::int32_t>::min() ||
      result > std::numeric_limits<std::int32_t>::max()) {
    throw std::overflow_error("フォントの大きさが大きすぎます");
  }
  return static_cast<std::int32_t>(result);
}

void appendLine(FontDeclarations& out, std::string_view text) {
  out.append(text);
  out.append("\r\n");
}

} // namespace

ColorCode colorCode(std::uint32_t colour) {
  const std::uint32_t red = colour & 0xFF;
  const std::uint32_t green = (colour >> 8) & 0xFF;
  const std::uint32_t blue = (colour >> 16) & 0xFF;
  const std::uint32_t rgb = (red << 16) | (green << 8) | blue;
  return "#" + tk::hexDigits(rgb, 6, true);
}

std::int32_t pointSizeFromHeight(std::int32_t height, std::int32_t pixelsPerInch) {
  requireResolution(pixelsPerInch);
  return negatedScaled(height, 72, pixelsPerInch);
}

std::int32_t heightFromPointSize(std::int32_t points, std::int32_t pixelsPerInch) {
  requireResolution(pixelsPerInch);
  return negatedScaled(points, pixelsPerInch, 72);
}

FontDeclarations fontDeclarations(const FontDescription& font) {
  FontDeclarations out;
  appendLine(out, "  color: " + colorCode(font.colour) + ";");
  appendLine(out, "  font-size: " +
                      tk::decimal(pointSizeFromHeight(font.height, font.pixelsPerInch)) + "px;");
  if (font.italic) {
    appendLine(out, "  font-style: italic;");
  }
  if (font.weight > 400) {
    appendLine(out, "  font-weight: bold;");
  }
  appendLine(out, "  font-family: " + font.faceName + ";");
  if (font.underline || font.strikeOut) {
    std::string line = "  text-decoration:";
    if (font.underline) {
      line += " underline";
    }
    if (font.strikeOut) {
      line += " line-through";
    }
    appendLine(out, line + ";");
  }
  return out;
}

} // namespace style
