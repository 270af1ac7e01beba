// A real Form1 under test, and the few ways a test acts on its controls as a
// user would: clicks, choices from a list, typed characters, keys.
#pragma once

#include "controls/spin_edit.h"
#include "tests/support/control_ids.h"
#include "tests/support/handler_runs.h"
#include "tests/support/window_helpers.h"
#include "toolkit/message_loop.h"
#include "toolkit/modal.h"
#include "toolkit/text.h"
#include "ui/form_builder.h"
#include "ui/form_description.h"
#include "ui/tform1.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <variant>

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

  // Controls by their identifiers, as the tables of tests list them.
  using C = ui::ControlId;
  HWND c(ui::ControlId control) const { return form.control(control); }
  std::wstring text(ui::ControlId control) const { return tk::windowText(c(control)); }
  int selected(ui::ControlId control) const {
    return static_cast<int>(SendMessageW(c(control), CB_GETCURSEL, 0, 0));
  }
  bool checked(ui::ControlId control) const {
    return SendMessageW(c(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  // The spin edit of a table's row; FormControls::get where the control is
  // known when compiling.
  controls::TSpinEdit& spin(ui::ControlId control) const {
    const auto& slot = form.controls().all()[ui::indexOf(control)];
    return *std::get<std::unique_ptr<controls::TSpinEdit>>(slot.owner);
  }
  std::wstring memo() const { return text(C::StyleSheet); }
  int runs(ui::Handler h) const { return handlerRuns(h); }

  // A user's click on a button or check box.
  void click(ui::ControlId control) { SendMessageW(c(control), BM_CLICK, 0, 0); }

  // A user's choice of entry `index`: the selection and the notification the
  // combo sends its parent for it.
  void choose(ui::ControlId control, int index) {
    HWND combo = c(control);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }
  int indexOf(ui::ControlId control, const std::wstring& entry) const {
    return static_cast<int>(SendMessageW(c(control), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(entry.c_str())));
  }

  // The edit inside an editable combo, or the control itself.
  HWND editOf(ui::ControlId control) const {
    const COMBOBOXINFO info = comboBoxInfo(c(control));
    return info.hwndItem ? info.hwndItem : c(control);
  }
  void type(ui::ControlId control, std::wstring_view keys) { typeChars(editOf(control), keys); }
  void setText(ui::ControlId control, std::wstring_view value) {
    tk::setWindowText(c(control), value);
  }

  // The keyboard state that GetKeyState reports to the form.
  static void setKeys(bool ctrl, bool shift) { setModifierKeys(ctrl, shift); }
  RECT boundsIn(ui::ControlId control, HWND parent) const { return rectIn(c(control), parent); }

  ui::TForm1 form;
  HandlerRuns handlerRuns{form}; // installed before the constructor creates the window
};

} // namespace sheetloom_test
