// The real program's window under real input: the application object with
// Form1, brought to the foreground, and the ways to see what a user sees.
#pragma once

#include "tests/support/control_ids.h"
#include "tests/support/modal_windows.h"
#include "tests/support/real_input.h"
#include "tests/support/window_helpers.h"

#include "app/application.h"
#include "toolkit/text.h"
#include "ui/form_description.h"
#include "ui/tform1.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
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

class FormInputTest : public ::testing::Test {
protected:
  FormInputTest() : form(application.start(SW_SHOWNORMAL)) {
    EXPECT_TRUE(RealInput::bringToFront(form.hwnd()));
  }

  // Controls by their names in the description, as the tables of tests name
  // them; an unknown name fails the test.
  static ui::ControlId id(std::string_view name) { return sheetloom_test::controlIdNamed(name); }
  HWND c(ui::ControlId control) const { return form.control(control); }
  HWND c(std::string_view name) const { return form.control(id(name)); }
  std::wstring text(std::string_view name) const { return tk::windowText(c(name)); }
  std::wstring memo() const { return text("StyleSheet"); }
  int selected(std::string_view name) const {
    return static_cast<int>(SendMessageW(c(name), CB_GETCURSEL, 0, 0));
  }
  HWND editOf(std::string_view name) const { return comboBoxInfo(c(name)).hwndItem; }
  DWORD caretOf(HWND edit) const {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start == end ? start : ~DWORD{0};
  }

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
  // Opens a combo's list with a click on its arrow button.
  void openList(std::string_view name);
  // The page that holds the control, or -1 for the framing group.
  int pageOf(std::string_view name) const;

  Watchdog watchdog{240};
  app::Application application;
  ui::TForm1& form;
  RealInput input;

private:
  int openings_ = 0;
};

} // namespace sheetloom_test
