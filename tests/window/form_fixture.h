// A real Form1 under test, and the few ways a test acts on its controls as a
// user would: clicks, choices from a list, typed characters, keys.
#pragma once

#include "controls/spin_edit.h"
#include "tests/support/control_ids.h"
#include "tests/support/window_helpers.h"
#include "toolkit/message_loop.h"
#include "toolkit/modal.h"
#include "toolkit/text.h"
#include "ui/form_builder.h"
#include "ui/form_description.h"
#include "ui/tform1.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace sheetloom_test {

class FormTest : public ::testing::Test {
protected:
  FormTest() {
    form.create(nullptr, SW_SHOWNORMAL);
    tk::setApplicationWindow(form.hwnd());
    SetForegroundWindow(form.hwnd());
    pump();
  }
  ~FormTest() override {
    tk::setApplicationWindow(nullptr);
    setKeys(false, false);
  }

  static void pump() { pumpPending(); }

  // Controls by their names in the description, as the tables of tests name
  // them; an unknown name fails the test.
  static ui::ControlId id(std::string_view name) { return sheetloom_test::controlIdNamed(name); }
  HWND c(ui::ControlId control) const { return form.control(control); }
  HWND c(std::string_view name) const { return form.control(id(name)); }
  std::wstring text(std::string_view name) const { return tk::windowText(c(name)); }
  int selected(std::string_view name) const {
    return static_cast<int>(SendMessageW(c(name), CB_GETCURSEL, 0, 0));
  }
  bool checked(std::string_view name) const {
    return SendMessageW(c(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  controls::TSpinEdit& spin(std::string_view name) const {
    return form.controls().spinEdit(id(name));
  }
  std::wstring memo() const { return text("StyleSheet"); }

  // A user's click on a button or check box.
  void click(std::string_view name) { SendMessageW(c(name), BM_CLICK, 0, 0); }

  // A user's choice of entry `index`: the selection and the notification the
  // combo sends its parent for it.
  void choose(std::string_view name, int index) {
    HWND combo = c(name);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }
  int indexOf(std::string_view name, const std::wstring& entry) const {
    return static_cast<int>(SendMessageW(c(name), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(entry.c_str())));
  }

  // The edit inside an editable combo, or the control itself.
  HWND editOf(std::string_view name) const {
    const COMBOBOXINFO info = comboBoxInfo(c(name));
    return info.hwndItem ? info.hwndItem : c(name);
  }
  void type(std::string_view name, std::wstring_view keys) { typeChars(editOf(name), keys); }
  void setText(std::string_view name, std::wstring_view value) {
    tk::setWindowText(c(name), value);
  }

  // The keyboard state that GetKeyState reports to the form.
  static void setKeys(bool ctrl, bool shift) { setModifierKeys(ctrl, shift); }
  RECT boundsIn(std::string_view name, HWND parent) const { return rectIn(c(name), parent); }

  ui::TForm1 form;
};

} // namespace sheetloom_test
