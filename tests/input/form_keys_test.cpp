// Escape, Enter, Tab and Shift+Tab, pressed for real in every control of
// Form1 that takes the focus (combos with their list open and closed):
// afterwards every window is still there, where it was, with its text; no
// button was pressed (the memo keeps its text, which adding and clearing
// change, and no dialog opens, which would hold the key's run until the
// watchdog ends it); Escape and Enter left the focus where it was and Tab
// moved it on. Enter in the memo breaks the line, the one change a key makes.
#include "tests/support/form_fixture.h"

#include <string>
#include <vector>

namespace {

using namespace sheetloom_test;
using ui::ControlKind;

const wchar_t kMemoText[] = L"P {\r\n  color: 赤;\r\n}\r\n";

struct KeyCase {
  const char* name;
  WORD vk;
  Modifier modifiers;
};
const KeyCase kKeys[] = {
    {"Escape", VK_ESCAPE, NoModifier},
    {"Enter", VK_RETURN, NoModifier},
    {"Tab", VK_TAB, NoModifier},
    {"Shift+Tab", VK_TAB, Shift},
};

bool isCombo(ControlKind kind) {
  return kind == ControlKind::EditCombo || kind == ControlKind::DropDownList;
}

class FormKeysTest : public FormTest {
protected:
  // One key in one control; returns what went wrong.
  std::vector<std::string> press(const ui::ControlDescription& row, bool listOpen,
                                 const KeyCase& key) {
    std::vector<std::string> wrong;
    HWND control = c(row.id);
    if (pageOf(row.id) >= 0)
      showPage(pageOf(row.id));
    HWND memoHwnd = c(C::StyleSheet);
    tk::setWindowText(memoHwnd, kMemoText);
    const auto end = static_cast<WPARAM>(std::wstring(kMemoText).size());
    SendMessageW(memoHwnd, EM_SETSEL, end, static_cast<LPARAM>(end));
    SetFocus(control);
    if (listOpen) {
      openList(row.id);
      if (!SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0))
        wrong.push_back("the list did not open");
    }
    const std::vector<ShownWindow> before = shown();
    const bool tab = key.vk == VK_TAB;
    const HWND expectedFocus =
        tab ? GetNextDlgTabItem(form.hwnd(), control, key.modifiers == Shift) : control;

    input.key(key.vk, key.modifiers);

    const bool enterInMemo = key.vk == VK_RETURN && row.kind == ControlKind::Memo;
    const std::wstring memoAfter = std::wstring(kMemoText) + L"\r\n";
    for (const std::string& d : differences(before, shown(), enterInMemo ? &memoAfter : nullptr))
      wrong.push_back(d);
    if (!IsWindow(control))
      return wrong;
    if (focusedControl() != expectedFocus)
      wrong.push_back("the focus went to " + nameOf(focusedControl()) + " instead of " +
                      nameOf(expectedFocus));
    if (isCombo(row.kind) && SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0))
      wrong.push_back("the list stayed open");
    if (!IsWindowEnabled(form.hwnd()) || GetForegroundWindow() != form.hwnd())
      wrong.push_back("Form1 is no longer the active window");
    return wrong;
  }
};

TEST_F(FormKeysTest, EscapeEnterAndTabInEveryControlLoseNothing) {
  int cases = 0;
  for (const auto& control : form.controls().all()) {
    const ui::ControlDescription& row = *control.row;
    if (row.tab == ui::NoTab || row.kind == ControlKind::GroupBox || row.kind == ControlKind::Page)
      continue;
    for (bool listOpen : {false, true}) {
      if (listOpen && !isCombo(row.kind))
        continue;
      for (const KeyCase& key : kKeys) {
        // Enter presses a focused button: the button tests cover that.
        if (key.vk == VK_RETURN && row.kind == ControlKind::Button)
          continue;
        ++cases;
        for (const std::string& wrong : press(row, listOpen, key))
          ADD_FAILURE() << key.name << " in " << row.id << (listOpen ? " (list open)" : "") << ": "
                        << wrong;
        ASSERT_TRUE(input.ok());
        ASSERT_TRUE(IsWindow(c(C::GroupBox1))) << "the window's content is gone";
      }
    }
  }
  EXPECT_GT(cases, 200);
}

} // namespace
