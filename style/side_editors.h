// The commit-and-load operation of the border, margin and padding groups.
//
// The window has one set of editors per group but the store keeps a slot per
// side. Whenever a group's side list changes, its enable box is clicked, or a
// rule is added, the editors' values are saved into the slot of the side they
// were showing, the group's current side follows the side list, and the
// (possibly new) side's slot is loaded back into the editors.
#pragma once

#include "style/settings.h"

#include <cstdint>
#include <functional>
#include <string>

namespace style {

// The border group's editors as the operation sees them. The window binds
// these to `border_kind`, `border_style`, `border_unit`, `border_color`,
// `border_width` and `border_check`.
class BorderEditors {
public:
  virtual ~BorderEditors() = default;

  virtual std::int32_t sideIndex() const = 0; // item index of the side list
  virtual std::int32_t styleIndex() const = 0;
  virtual void setStyleIndex(std::int32_t index) = 0;
  virtual std::string unitText() const = 0;
  virtual void setUnitText(const std::string& text) = 0;
  virtual std::string colourText() const = 0;
  virtual void setColourText(const std::string& text) = 0;
  virtual std::int32_t width() const = 0; // the spin edit's value
  virtual void setWidth(std::int32_t value) = 0;
  virtual bool enabled() const = 0;
  // May run the operation again from inside (a check box that reports changes
  // made by the program); the result is the same either way.
  virtual void setEnabled(bool checked) = 0;
};

// A margin or padding group's editors: `Ma_kind`/`Pa_kind`, `Ma_unit`/`Pa_unit`,
// `Ma`/`Pa` and `Ma_check`/`Pa_check`.
class BoxEditors {
public:
  virtual ~BoxEditors() = default;

  virtual std::int32_t sideIndex() const = 0;
  virtual std::string unitText() const = 0;
  virtual void setUnitText(const std::string& text) = 0;
  virtual std::int32_t value() const = 0;
  virtual void setValue(std::int32_t value) = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool checked) = 0;
};

// The operation per group. A side index outside 0..4 throws std::out_of_range
// after the save, before anything is switched or loaded.
void commitBorderEditors(BorderEditors& editors, StyleSettingsStore& store);
void commitMarginEditors(BoxEditors& editors, StyleSettingsStore& store);
void commitPaddingEditors(BoxEditors& editors, StyleSettingsStore& store);

// Editors held in memory, for running the operations without a window. Each
// starts as the window's editors do: side 0, style 0, unit "px", colour
// "#000000", number 0, unchecked. `onEnabledChanged`, when set, runs whenever
// setEnabled changes the state, as a check box's click event does.
struct MemoryBorderEditors final : BorderEditors {
  std::int32_t side = 0;
  std::int32_t style = 0;
  std::string unit = "px";
  std::string colour = "#000000";
  std::int32_t widthValue = 0;
  bool checked = false;
  std::function<void()> onEnabledChanged;

  std::int32_t sideIndex() const override { return side; }
  std::int32_t styleIndex() const override { return style; }
  void setStyleIndex(std::int32_t index) override { style = index; }
  std::string unitText() const override { return unit; }
  void setUnitText(const std::string& text) override { unit = text; }
  std::string colourText() const override { return colour; }
  void setColourText(const std::string& text) override { colour = text; }
  std::int32_t width() const override { return widthValue; }
  void setWidth(std::int32_t value) override { widthValue = value; }
  bool enabled() const override { return checked; }
  void setEnabled(bool state) override;
};

struct MemoryBoxEditors final : BoxEditors {
  std::int32_t side = 0;
  std::string unit = "px";
  std::int32_t number = 0;
  bool checked = false;
  std::function<void()> onEnabledChanged;

  std::int32_t sideIndex() const override { return side; }
  std::string unitText() const override { return unit; }
  void setUnitText(const std::string& text) override { unit = text; }
  std::int32_t value() const override { return number; }
  void setValue(std::int32_t v) override { number = v; }
  bool enabled() const override { return checked; }
  void setEnabled(bool state) override;
};

} // namespace style
