#include "style/settings.h"

#include "toolkit/portable/digits.h"

#include <stdexcept>
#include <string>

namespace style {

namespace {

std::size_t slotIndex(Side side) {
  if (side < 0 || static_cast<std::size_t>(side) >= SideCount) {
    // Shown to the user by the error display, hence Japanese.
    throw std::out_of_range("辺の番号が範囲外です: " + tk::decimal(side));
  }
  return static_cast<std::size_t>(side);
}

} // namespace

bool BorderSideSettings::operator==(const BorderSideSettings& other) const {
  return colour == other.colour && unit == other.unit && styleIndex == other.styleIndex &&
         width == other.width && enabled == other.enabled;
}

bool BoxSideSettings::operator==(const BoxSideSettings& other) const {
  return value == other.value && unit == other.unit && enabled == other.enabled;
}

void StyleSettingsStore::reset() {
  *this = StyleSettingsStore{};
}

BorderSideSettings& StyleSettingsStore::borderSlot(Side side) {
  return border[slotIndex(side)];
}
BoxSideSettings& StyleSettingsStore::marginSlot(Side side) {
  return margin[slotIndex(side)];
}
BoxSideSettings& StyleSettingsStore::paddingSlot(Side side) {
  return padding[slotIndex(side)];
}

const BorderSideSettings& StyleSettingsStore::borderSlot(Side side) const {
  return border[slotIndex(side)];
}
const BoxSideSettings& StyleSettingsStore::marginSlot(Side side) const {
  return margin[slotIndex(side)];
}
const BoxSideSettings& StyleSettingsStore::paddingSlot(Side side) const {
  return padding[slotIndex(side)];
}

} // namespace style
