// The side editors, the rule settings and the stylesheet as the style
// operations see them, read from and written to Form1's controls.
#pragma once

#include "style/add_action.h"
#include "style/settings.h"
#include "style/side_editors.h"

#include <string>
#include <string_view>

namespace ui {

class FormControls;

class FormBorderEditors final : public sheetloom::style::BorderEditors {
public:
  explicit FormBorderEditors(const FormControls& controls) : c_(controls) {}
  std::int32_t sideIndex() const override;
  std::int32_t styleIndex() const override;
  void setStyleIndex(std::int32_t index) override;
  std::string unitText() const override;
  void setUnitText(const std::string& text) override;
  std::string colourText() const override;
  void setColourText(const std::string& text) override;
  std::int32_t width() const override;
  void setWidth(std::int32_t value) override;
  bool enabled() const override;
  // Setting the check state sends no click, so the handler does not re-enter.
  void setEnabled(bool checked) override;

private:
  const FormControls& c_;
};

// `prefix` is "Ma" for the margin group, "Pa" for the padding group.
class FormBoxEditors final : public sheetloom::style::BoxEditors {
public:
  FormBoxEditors(const FormControls& controls, std::string_view prefix);
  std::int32_t sideIndex() const override;
  std::string unitText() const override;
  void setUnitText(const std::string& text) override;
  std::int32_t value() const override;
  void setValue(std::int32_t value) override;
  bool enabled() const override;
  void setEnabled(bool checked) override;

private:
  const FormControls& c_;
  std::string kind_, unit_, number_, check_;
};

// Form1 as the add action sees it: the three side groups, the values for
// one rule and the StyleSheet memo.
class FormEditors final : public sheetloom::style::AddActionView {
public:
  explicit FormEditors(const FormControls& controls)
      : border(controls), margin(controls, "Ma"), padding(controls, "Pa"), c_(controls) {}
  FormBorderEditors border;
  FormBoxEditors margin;
  FormBoxEditors padding;

  sheetloom::style::BorderEditors& borderEditors() override { return border; }
  sheetloom::style::BoxEditors& marginEditors() override { return margin; }
  sheetloom::style::BoxEditors& paddingEditors() override { return padding; }
  sheetloom::style::RuleSettings readRuleSettings() const override;
  // At the memo's end, as one edit, whatever the user has selected.
  void appendRule(std::string_view rule) override;

private:
  const FormControls& c_;
};

} // namespace ui
