// The real program's window under test: the application object with Form1,
// brought to the foreground; the ways a test acts on its controls as a user
// would (clicks, choices from a list, typed characters, keys, real input),
// and the ways to see what a user sees.
#pragma once

#include "controls/spin_edit.h"
#include "tests/support/control_ids.h"
#include "tests/support/modal_windows.h"
#include "tests/support/real_input.h"
#include "tests/support/window_helpers.h"

#include "app/application.h"
#include "toolkit/text.h"
#include "ui/form_builder.h"
#include "ui/form_description.h"
#include "ui/tform1.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sheetloom_test {

// What a user can see of one window: that it exists where it was, and its text.
struct ShownWindow {
  HWND hwnd;
  HWND parent;
  bool visible;
  RECT rect;
  std::wstring text;
  LRESULT checked;
};

// A switch of `window` to page `index` (0 is "設定1") without real input:
// the messages of a click on its tab, sent to the tab control.
void switchToPage(const ui::TForm1& window, int index);

class FormTest : public ::testing::Test {
protected:
  FormTest() : form(application.start(SW_SHOWNORMAL)) {
    EXPECT_TRUE(RealInput::bringToFront(form.hwnd()));
    pump();
  }
  ~FormTest() override { setKeys(false, false); }

  static void pump() { pumpPending(); }

  // Controls by their identifiers, as the tables of tests list them.
  using C = ui::ControlId;
  HWND c(ui::ControlId control) const { return form.controls().hwnd(control); }
  std::wstring text(ui::ControlId control) const { return tk::windowText(c(control)); }
  std::wstring memo() const { return text(C::StyleSheet); }
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
  DWORD caretOf(HWND edit) const {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start == end ? start : ~DWORD{0};
  }

  // The keyboard state that GetKeyState reports to the form.
  static void setKeys(bool ctrl, bool shift) { setModifierKeys(ctrl, shift); }
  RECT boundsIn(ui::ControlId control, HWND parent) const { return rectIn(c(control), parent); }

  // The control the focus is in: a combo for its edit.
  HWND focusedControl() const;
  // A control's name, or its class inside the named control it belongs to.
  std::string nameOf(HWND hwnd) const;

  // Every window inside Form1 as the user sees it now.
  std::vector<ShownWindow> shown() const;
  // What differs between two views, one line per difference; the memo's text
  // is compared against `memoAfter` instead of its earlier text when given.
  std::vector<std::string> differences(const std::vector<ShownWindow>& before,
                                       const std::vector<ShownWindow>& after,
                                       const std::wstring* memoAfter = nullptr) const;

  // The tab button of page `index`, at its centre.
  void clickTab(int index);
  // A switch to page `index` without real input (switchToPage).
  void showPage(int index) const { switchToPage(form, index); }
  // The page the tab control shows.
  int currentPage() const;
  // Opens a combo's list with a click on its arrow button.
  void openList(ui::ControlId control);
  // The page that holds the control, or -1 for the framing group.
  int pageOf(ui::ControlId control) const;

  Watchdog watchdog{240};
  app::Application application;
  ui::TForm1& form;
  RealInput input;

private:
  int openings_ = 0;
};

} // namespace sheetloom_test
