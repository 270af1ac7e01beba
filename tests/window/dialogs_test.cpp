// The font and colour buttons with their real dialogs, driven from a thread
// timer that the dialogs' modal loops dispatch.
#include "form_fixture.h"

#include "toolkit/dpi.h"

#include <colordlg.h>
#include <dlgs.h>

#include <cwchar>
#include <functional>
#include <string>

namespace {

using sheetloom_test::FormTest;

struct Driver {
  std::function<void(HWND)> action = [](HWND) {};
  int command = IDOK;
  bool opened = false;
};
Driver* g_driver = nullptr;
bool g_watchdogFired = false;

BOOL CALLBACK findDialog(HWND hwnd, LPARAM out) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (std::wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND openDialog() {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
  return dialog;
}

void CALLBACK driveDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = openDialog();
  if (!dialog || !g_driver)
    return;
  KillTimer(nullptr, id);
  g_driver->opened = true;
  try {
    g_driver->action(dialog);
  } catch (...) {
    ADD_FAILURE() << "dialog action threw";
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(g_driver->command, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, g_driver->command)));
}

void CALLBACK watchdog(HWND, UINT, UINT_PTR, DWORD) {
  g_watchdogFired = true;
  while (HWND dialog = openDialog())
    EndDialog(dialog, IDCANCEL);
}

class DialogTest : public FormTest {
protected:
  // Clicks `button` with the dialog it opens driven by `driver`.
  void clickWithDialog(const char* button, Driver& driver) {
    g_driver = &driver;
    g_watchdogFired = false;
    const UINT_PTR tick = SetTimer(nullptr, 0, 50, driveDialog);
    const UINT_PTR dog = SetTimer(nullptr, 0, 15000, watchdog);
    click(button);
    KillTimer(nullptr, tick);
    KillTimer(nullptr, dog);
    g_driver = nullptr;
    EXPECT_TRUE(driver.opened) << button << " opened no dialog";
    EXPECT_FALSE(g_watchdogFired) << "the dialog had to be closed by the watchdog";
  }

  std::string face() const { return tk::narrow(form.fontDialog().font.lfFaceName); }
};

void chooseInCombo(HWND dialog, int id, LRESULT index) {
  ASSERT_GE(index, 0);
  HWND combo = GetDlgItem(dialog, id);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void setRgb(HWND dialog, const wchar_t* r, const wchar_t* g, const wchar_t* b) {
  SetDlgItemTextW(dialog, COLOR_RED, r);
  SetDlgItemTextW(dialog, COLOR_GREEN, g);
  SetDlgItemTextW(dialog, COLOR_BLUE, b);
}

std::wstring itemText(HWND dialog, int id) {
  wchar_t buffer[32] = {};
  GetDlgItemTextW(dialog, id, buffer, 32);
  return buffer;
}

TEST_F(DialogTest, FontStartsAtTwelvePointsBlackAndConfirmingWritesItsLines) {
  EXPECT_EQ(form.fontDialog().font.lfHeight, -MulDiv(12, tk::screenDpi(), 72));
  EXPECT_EQ(form.fontDialog().colour, RGB(0, 0, 0));
  EXPECT_EQ(form.store().fontDeclarations, "");
  Driver d;
  clickWithDialog("Button1", d);
  EXPECT_EQ(form.store().fontDeclarations,
            "  color: #000000;\r\n  font-size: 12px;\r\n  font-family: " + face() + ";\r\n");
  EXPECT_EQ(form.runs(ui::Handler::Button1Click), 1);
}

TEST_F(DialogTest, FontCancelKeepsTheEarlierLinesAndAnotherConfirmReplacesThem) {
  Driver bold;
  bold.action = [](HWND dialog) {
    HWND styles = GetDlgItem(dialog, cmb2); // the last style is bold italic
    chooseInCombo(dialog, cmb2, SendMessageW(styles, CB_GETCOUNT, 0, 0) - 1);
    SendDlgItemMessageW(dialog, chx1, BM_CLICK, 0, 0); // strike-out
    SendDlgItemMessageW(dialog, chx2, BM_CLICK, 0, 0); // underline
  };
  clickWithDialog("Button1", bold);
  const std::string first = form.store().fontDeclarations;
  EXPECT_EQ(first, "  color: #000000;\r\n  font-size: 12px;\r\n  font-style: italic;\r\n"
                   "  font-weight: bold;\r\n  font-family: " +
                       face() + ";\r\n  text-decoration: underline line-through;\r\n");

  Driver cancel;
  cancel.command = IDCANCEL;
  cancel.action = [](HWND dialog) { SendDlgItemMessageW(dialog, chx2, BM_CLICK, 0, 0); };
  clickWithDialog("Button1", cancel);
  EXPECT_EQ(form.store().fontDeclarations, first);

  // The dialog opens on the last confirmed font; dropping the effects
  // removes the decoration line.
  Driver plain;
  plain.action = [](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessageW(dialog, chx2, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendDlgItemMessageW(dialog, chx1, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog, chx2, BM_CLICK, 0, 0);
  };
  clickWithDialog("Button1", plain);
  EXPECT_EQ(form.store().fontDeclarations,
            "  color: #000000;\r\n  font-size: 12px;\r\n  font-style: italic;\r\n"
            "  font-weight: bold;\r\n  font-family: " +
                face() + ";\r\n");

  click("make");
  EXPECT_NE(memo().find(L"  font-weight: bold;\r\n"), std::wstring::npos);
}

TEST_F(DialogTest, ColourButtonsShareOneDialogThatStartsFromTheLastColourChosen) {
  form.showPage(1);
  Driver blue;
  blue.action = [](HWND dialog) { setRgb(dialog, L"0", L"0", L"255"); };
  clickWithDialog("Button3", blue);
  EXPECT_EQ(text("border_color"), L"#0000FF");
  EXPECT_EQ(text("back_color"), L"");

  setText("border_color", L"#123456"); // what the edit holds does not matter
  Driver cancel;
  cancel.command = IDCANCEL;
  std::wstring startedWith[3];
  cancel.action = [&](HWND dialog) {
    startedWith[0] = itemText(dialog, COLOR_RED);
    startedWith[1] = itemText(dialog, COLOR_GREEN);
    startedWith[2] = itemText(dialog, COLOR_BLUE);
    setRgb(dialog, L"9", L"9", L"9");
  };
  clickWithDialog("Button4", cancel);
  EXPECT_EQ(startedWith[0], L"0");
  EXPECT_EQ(startedWith[1], L"0");
  EXPECT_EQ(startedWith[2], L"255");
  EXPECT_EQ(text("back_color"), L"") << "cancelling leaves the edit alone";

  Driver red;
  red.action = [](HWND dialog) { setRgb(dialog, L"255", L"0", L"0"); };
  clickWithDialog("Button4", red);
  EXPECT_EQ(text("back_color"), L"#FF0000");
  EXPECT_EQ(text("border_color"), L"#123456");
  EXPECT_EQ(form.colourDialogColour(), RGB(255, 0, 0));
}

} // namespace
