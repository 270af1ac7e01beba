// The side editors, the rule settings and the stylesheet as the style
// operations see them, read from and written to Form1's controls. Each class
// resolves the controls it uses once, when it is made; Form1 makes them when
// a handler first needs them, which builds any page not built yet.
#pragma once

#include "style/add_action.h"
#include "style/settings.h"
#include "style/side_editors.h"
#include "ui/form_description.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace controls {
class TSpinEdit;
}

namespace ui {

class FormControls;
class Memo;

class FormBorderEditors final : public style::SideGroup<style::BorderSideSettings> {
public:
  explicit FormBorderEditors(const FormControls& controls);
  style::Side side() const override;
  style::BorderSideSettings read() const override;
  // Setting the check state sends no click, so the handler does not re-enter.
  void show(const style::BorderSideSettings& settings) override;

private:
  // Borrowed: controls of Form1, which outlive this object.
  HWND kind_, style_, unit_, colour_, check_;
  controls::TSpinEdit& width_;
};

// The four controls of the margin or the padding group.
struct BoxControlIds {
  ControlId kind, unit, number, check;
};
inline constexpr BoxControlIds MarginControls{ControlId::Ma_kind, ControlId::Ma_unit, ControlId::Ma,
                                              ControlId::Ma_check};
inline constexpr BoxControlIds PaddingControls{ControlId::Pa_kind, ControlId::Pa_unit,
                                               ControlId::Pa, ControlId::Pa_check};

class FormBoxEditors final : public style::SideGroup<style::BoxSideSettings> {
public:
  FormBoxEditors(HWND kind, HWND unit, HWND check, controls::TSpinEdit& number);
  // The editors of the group whose controls are `Ids`.
  template <BoxControlIds Ids> static FormBoxEditors of(const FormControls& controls);
  style::Side side() const override;
  style::BoxSideSettings read() const override;
  void show(const style::BoxSideSettings& settings) override;

private:
  HWND kind_, unit_, check_; // borrowed, as above
  controls::TSpinEdit& number_;
};

// Form1 as the add action sees it: the three side groups, the values for
// one rule and the StyleSheet memo.
class FormEditors final : public style::AddActionView {
public:
  explicit FormEditors(const FormControls& controls);
  FormBorderEditors border;
  FormBoxEditors margin;
  FormBoxEditors padding;

  style::SideGroup<style::BorderSideSettings>& borderEditors() override { return border; }
  style::SideGroup<style::BoxSideSettings>& marginEditors() override { return margin; }
  style::SideGroup<style::BoxSideSettings>& paddingEditors() override { return padding; }
  style::RuleSettings readRuleSettings() const override;
  // At the memo's end, as one edit, whatever the user has selected.
  void appendRule(std::string_view rule) override;

private:
  // The controls a rule is read from (borrowed).
  HWND selector_, backColour_, backImage_, backFixed_, backRepeat_, align_, valign_, widthUnit_,
      heightUnit_, cursor_, position_, topUnit_, bottomUnit_, leftUnit_, rightUnit_, hidden_;
  controls::TSpinEdit &width_, &height_, &stackOrder_, &top_, &bottom_, &left_, &right_;
  Memo& memo_;
};

} // namespace ui
