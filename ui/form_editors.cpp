#include "ui/form_editors.h"

#include "controls/spin_edit.h"
#include "toolkit/text.h"
#include "ui/form_builder.h"
#include "ui/memo.h"

namespace ui {
namespace {

std::string textOf(HWND hwnd) {
  return tk::narrow(tk::windowText(hwnd));
}
void setText(HWND hwnd, const std::string& text) {
  tk::setWindowText(hwnd, tk::widen(text));
}

std::int32_t selectedIndex(HWND combo) {
  return static_cast<std::int32_t>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}
void select(HWND combo, std::int32_t index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
bool isChecked(HWND box) {
  return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void setChecked(HWND box, bool checked) {
  SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

using C = ControlId;

FormBorderEditors::FormBorderEditors(const FormControls& c)
    : kind_(c.hwnd(C::border_kind)), style_(c.hwnd(C::border_style)), unit_(c.hwnd(C::border_unit)),
      colour_(c.hwnd(C::border_color)), check_(c.hwnd(C::border_check)),
      width_(c.get<C::border_width>()) {}

style::Side FormBorderEditors::side() const {
  return selectedIndex(kind_);
}
style::BorderSideSettings FormBorderEditors::read() const {
  style::BorderSideSettings s;
  s.colour = textOf(colour_);
  s.unit = textOf(unit_);
  s.styleIndex = selectedIndex(style_);
  s.width = width_.Value();
  s.enabled = isChecked(check_);
  return s;
}
void FormBorderEditors::show(const style::BorderSideSettings& s) {
  select(style_, s.styleIndex);
  setText(unit_, s.unit);
  setText(colour_, s.colour);
  width_.SetValue(s.width);
  setChecked(check_, s.enabled);
}

FormBoxEditors::FormBoxEditors(HWND kind, HWND unit, HWND check, controls::TSpinEdit& number)
    : kind_(kind), unit_(unit), check_(check), number_(number) {}

template <BoxControlIds Ids> FormBoxEditors FormBoxEditors::of(const FormControls& c) {
  return {c.hwnd(Ids.kind), c.hwnd(Ids.unit), c.hwnd(Ids.check), c.get<Ids.number>()};
}

style::Side FormBoxEditors::side() const {
  return selectedIndex(kind_);
}
style::BoxSideSettings FormBoxEditors::read() const {
  style::BoxSideSettings s;
  s.value = number_.Value();
  s.unit = textOf(unit_);
  s.enabled = isChecked(check_);
  return s;
}
void FormBoxEditors::show(const style::BoxSideSettings& s) {
  setText(unit_, s.unit);
  number_.SetValue(s.value);
  setChecked(check_, s.enabled);
}

FormEditors::FormEditors(const FormControls& c)
    : border(c), margin(FormBoxEditors::of<MarginControls>(c)),
      padding(FormBoxEditors::of<PaddingControls>(c)), selector_(c.hwnd(C::TAG)),
      backColour_(c.hwnd(C::back_color)), backImage_(c.hwnd(C::Back_Image)),
      backFixed_(c.hwnd(C::kotei)), backRepeat_(c.hwnd(C::back_repeat)), align_(c.hwnd(C::align)),
      valign_(c.hwnd(C::valign)), widthUnit_(c.hwnd(C::wu)), heightUnit_(c.hwnd(C::hu)),
      cursor_(c.hwnd(C::cursor)), position_(c.hwnd(C::posit)), topUnit_(c.hwnd(C::tu)),
      bottomUnit_(c.hwnd(C::bu)), leftUnit_(c.hwnd(C::lu)), rightUnit_(c.hwnd(C::ru)),
      hidden_(c.hwnd(C::visible)), width_(c.get<C::width>()), height_(c.get<C::height>()),
      stackOrder_(c.get<C::zin>()), top_(c.get<C::top>()), bottom_(c.get<C::buttom>()),
      left_(c.get<C::left>()), right_(c.get<C::right>()), memo_(c.get<C::StyleSheet>()) {}

style::RuleSettings FormEditors::readRuleSettings() const {
  style::RuleSettings r;
  r.selector = textOf(selector_);
  r.backgroundColour = textOf(backColour_);
  r.backgroundImage = textOf(backImage_);
  r.backgroundFixed = isChecked(backFixed_);
  r.repeatIndex = selectedIndex(backRepeat_);
  r.alignIndex = selectedIndex(align_);
  r.valignIndex = selectedIndex(valign_);
  r.width = width_.Value();
  r.widthUnit = textOf(widthUnit_);
  r.height = height_.Value();
  r.heightUnit = textOf(heightUnit_);
  r.cursorIndex = selectedIndex(cursor_);
  r.stackOrder = stackOrder_.Value();
  r.positionIndex = selectedIndex(position_);
  // The offset units, like the others, are the combos' texts.
  r.top = top_.Value();
  r.topUnit = textOf(topUnit_);
  r.bottom = bottom_.Value();
  r.bottomUnit = textOf(bottomUnit_);
  r.left = left_.Value();
  r.leftUnit = textOf(leftUnit_);
  r.right = right_.Value();
  r.rightUnit = textOf(rightUnit_);
  r.hidden = isChecked(hidden_);
  return r;
}

void FormEditors::appendRule(std::string_view rule) {
  memo_.append(tk::widen(rule));
}

} // namespace ui
