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

std::int32_t FormBorderEditors::sideIndex() const {
  return selectedIndex(c_.hwnd("border_kind"));
}
std::int32_t FormBorderEditors::styleIndex() const {
  return selectedIndex(c_.hwnd("border_style"));
}
void FormBorderEditors::setStyleIndex(std::int32_t index) {
  select(c_.hwnd("border_style"), index);
}
std::string FormBorderEditors::unitText() const {
  return textOf(c_.hwnd("border_unit"));
}
void FormBorderEditors::setUnitText(const std::string& text) {
  setText(c_.hwnd("border_unit"), text);
}
std::string FormBorderEditors::colourText() const {
  return textOf(c_.hwnd("border_color"));
}
void FormBorderEditors::setColourText(const std::string& text) {
  setText(c_.hwnd("border_color"), text);
}
std::int32_t FormBorderEditors::width() const {
  return c_.spinEdit("border_width").Value();
}
void FormBorderEditors::setWidth(std::int32_t value) {
  c_.spinEdit("border_width").SetValue(value);
}
bool FormBorderEditors::enabled() const {
  return isChecked(c_.hwnd("border_check"));
}
void FormBorderEditors::setEnabled(bool checked) {
  setChecked(c_.hwnd("border_check"), checked);
}

FormBoxEditors::FormBoxEditors(const FormControls& controls, std::string_view prefix)
    : c_(controls), kind_(std::string(prefix) + "_kind"), unit_(std::string(prefix) + "_unit"),
      number_(prefix), check_(std::string(prefix) + "_check") {}

std::int32_t FormBoxEditors::sideIndex() const {
  return selectedIndex(c_.hwnd(kind_));
}
std::string FormBoxEditors::unitText() const {
  return textOf(c_.hwnd(unit_));
}
void FormBoxEditors::setUnitText(const std::string& text) {
  setText(c_.hwnd(unit_), text);
}
std::int32_t FormBoxEditors::value() const {
  return c_.spinEdit(number_).Value();
}
void FormBoxEditors::setValue(std::int32_t value) {
  c_.spinEdit(number_).SetValue(value);
}
bool FormBoxEditors::enabled() const {
  return isChecked(c_.hwnd(check_));
}
void FormBoxEditors::setEnabled(bool checked) {
  setChecked(c_.hwnd(check_), checked);
}

sheetloom::style::RuleSettings FormEditors::readRuleSettings() const {
  sheetloom::style::RuleSettings r;
  const auto text = [this](std::string_view name) { return textOf(c_.hwnd(name)); };
  const auto index = [this](std::string_view name) { return selectedIndex(c_.hwnd(name)); };
  const auto number = [this](std::string_view name) { return c_.spinEdit(name).Value(); };
  const auto checked = [this](std::string_view name) { return isChecked(c_.hwnd(name)); };

  r.selector = text("TAG");
  r.backgroundColour = text("back_color");
  r.backgroundImage = text("Back_Image");
  r.backgroundFixed = checked("kotei");
  r.repeatIndex = index("back_repeat");
  r.alignIndex = index("align");
  r.valignIndex = index("valign");
  r.width = number("width");
  r.widthUnit = text("wu");
  r.height = number("height");
  r.heightUnit = text("hu");
  r.cursorIndex = index("cursor");
  r.stackOrder = number("zin");
  r.positionIndex = index("posit");
  // The offset units, like the others, are the combos' texts.
  r.top = number("top");
  r.topUnit = text("tu");
  r.bottom = number("buttom");
  r.bottomUnit = text("bu");
  r.left = number("left");
  r.leftUnit = text("lu");
  r.right = number("right");
  r.rightUnit = text("ru");
  r.hidden = checked("visible");
  return r;
}

void FormEditors::appendRule(std::string_view rule) {
  c_.memo().append(tk::widen(rule));
}

} // namespace ui
