#include "tests/support/form_fixture.h"

#include <commctrl.h>

namespace sheetloom_test {
namespace {

BOOL CALLBACK collect(HWND hwnd, LPARAM lp) {
  auto* windows = reinterpret_cast<std::vector<ShownWindow>*>(lp);
  ShownWindow w{};
  w.hwnd = hwnd;
  w.parent = GetParent(hwnd);
  w.visible = IsWindowVisible(hwnd) != FALSE;
  GetWindowRect(hwnd, &w.rect);
  w.text = tk::windowText(hwnd);
  w.checked = className(hwnd) == L"Button" ? SendMessageW(hwnd, BM_GETCHECK, 0, 0) : 0;
  windows->push_back(std::move(w));
  return TRUE;
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

HWND FormTest::focusedControl() const {
  HWND focus = GetFocus();
  HWND parent = focus ? GetParent(focus) : nullptr;
  if (parent && _wcsicmp(className(parent).c_str(), L"ComboBox") == 0)
    return parent;
  return focus;
}

std::string FormTest::nameOf(HWND hwnd) const {
  if (!hwnd)
    return "(none)";
  if (const auto* control = form.controls().find(hwnd))
    return std::string(ui::nameOf(control->row->id));
  HWND parent = GetParent(hwnd);
  return (parent && parent != hwnd ? nameOf(parent) : std::string("?")) + "/" +
         tk::narrow(className(hwnd));
}

std::vector<ShownWindow> FormTest::shown() const {
  std::vector<ShownWindow> windows;
  EnumChildWindows(form.hwnd(), collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<std::string> FormTest::differences(const std::vector<ShownWindow>& before,
                                               const std::vector<ShownWindow>& after,
                                               const std::wstring* memoAfter) const {
  std::vector<std::string> found;
  HWND memoHwnd = c(C::StyleSheet);
  for (const ShownWindow& b : before) {
    const std::string name = nameOf(b.hwnd);
    const ShownWindow* a = nullptr;
    for (const ShownWindow& candidate : after)
      if (candidate.hwnd == b.hwnd)
        a = &candidate;
    if (!a || !IsWindow(b.hwnd)) {
      found.push_back(name + " is gone");
      continue;
    }
    if (a->parent != b.parent)
      found.push_back(name + " has another parent");
    if (a->visible != b.visible)
      found.push_back(name + (a->visible ? " appeared" : " is hidden"));
    if (!sameRect(a->rect, b.rect))
      found.push_back(name + " moved");
    const std::wstring& expected = b.hwnd == memoHwnd && memoAfter ? *memoAfter : b.text;
    if (a->text != expected)
      found.push_back(name + " text \"" + tk::narrow(b.text) + "\" became \"" +
                      tk::narrow(a->text) + "\"");
    if (a->checked != b.checked)
      found.push_back(name + " check state changed");
  }
  if (after.size() != before.size())
    found.push_back(std::to_string(before.size()) + " windows became " +
                    std::to_string(after.size()));
  return found;
}

void FormTest::clickTab(int index) {
  HWND tabs = c(C::PageControl1);
  RECT item{};
  SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  input.click(tabs, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

void switchToPage(const ui::TForm1& window, int index) {
  HWND tabs = window.controls().hwnd(ui::ControlId::PageControl1);
  RECT item{};
  SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  const LPARAM centre = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageW(tabs, WM_LBUTTONUP, 0, centre);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), index) << "the tab control kept its page";
}

int FormTest::currentPage() const {
  return static_cast<int>(SendMessageW(c(C::PageControl1), TCM_GETCURSEL, 0, 0));
}

void FormTest::openList(ui::ControlId control) {
  const COMBOBOXINFO info = comboBoxInfo(c(control));
  const RECT& arrow = info.rcButton;
  // Each time a little to the other side, so that two openings in a row
  // are two clicks, not a double click.
  const int side = (openings_++ % 2) ? 3 : -3;
  input.click(c(control),
              POINT{(arrow.left + arrow.right) / 2 + side, (arrow.top + arrow.bottom) / 2});
}

int FormTest::pageOf(ui::ControlId control) const {
  ui::ControlId page = control;
  while (page != ui::ControlId::None && ui::kindOf(page) != ui::ControlKind::Page)
    page = ui::describe(page).parentId;
  if (page == ui::ControlId::None)
    return -1;
  const ui::ControlDescription* row = &ui::describe(page);
  int index = 0;
  for (const auto& control : form.controls().all()) {
    if (control.row == row)
      return index;
    if (control.row->kind == ui::ControlKind::Page)
      ++index;
  }
  return -1;
}

} // namespace sheetloom_test
