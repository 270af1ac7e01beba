// The font and colour buttons with their real dialogs, driven from a thread
// timer that the dialogs' modal loops dispatch.
#include "tests/support/form_fixture.h"

#include "tests/support/modal_windows.h"

#include <colordlg.h>
#include <dlgs.h>

#include <functional>
#include <string>

namespace {

using namespace sheetloom_test;

std::wstring itemText(HWND dialog, int id) {
  wchar_t buffer[LF_FACESIZE] = {};
  GetDlgItemTextW(dialog, id, buffer, LF_FACESIZE);
  return buffer;
}

class DialogTest : public FormTest {
protected:
  // Clicks `button` with the dialog it opens driven by `driver`.
  void clickWithDialog(ui::ControlId button, DialogDriver& driver) {
    driveDialog(driver, [&] { click(button); });
    EXPECT_TRUE(driver.opened) << button << " opened no dialog";
  }

  // The face the font dialog showed when it last opened.
  std::string face() const { return tk::narrow(face_); }
  // Remembers the face the dialog shows as it opens, then runs `action`.
  std::function<void(HWND)> notingTheFace(std::function<void(HWND)> action = nullptr) {
    return [this, action](HWND dialog) {
      face_ = itemText(dialog, cmb1);
      if (action)
        action(dialog);
    };
  }

  // The font dialog's lines as a rule carries them: with every other control
  // at its start, a rule added now holds them alone. The memo is cleared
  // before and after.
  std::string fontLines() {
    click(C::Button5);
    click(C::make);
    const std::string rule = tk::narrow(memo());
    click(C::Button5);
    const std::string head = "BODY{\r\n", tail = "}\r\n";
    if (rule.size() < head.size() + tail.size() || rule.compare(0, head.size(), head) != 0 ||
        rule.compare(rule.size() - tail.size(), tail.size(), tail) != 0) {
      ADD_FAILURE() << "not a bare rule: " << rule;
      return rule;
    }
    return rule.substr(head.size(), rule.size() - head.size() - tail.size());
  }

private:
  std::wstring face_;
};

TEST_F(DialogTest, FontStartsAtTwelvePointsBlackAndConfirmingWritesItsLines) {
  EXPECT_EQ(fontLines(), "");
  std::wstring size;
  LRESULT colour = -1;
  DialogDriver d;
  d.action = notingTheFace([&](HWND dialog) {
    size = itemText(dialog, cmb3);
    HWND colours = GetDlgItem(dialog, cmb4);
    colour = SendMessageW(colours, CB_GETITEMDATA, SendMessageW(colours, CB_GETCURSEL, 0, 0), 0);
  });
  clickWithDialog(C::Button1, d);
  EXPECT_EQ(size, L"12");
  EXPECT_EQ(colour, static_cast<LRESULT>(RGB(0, 0, 0)));
  EXPECT_EQ(fontLines(),
            "  color: #000000;\r\n  font-size: 12px;\r\n  font-family: " + face() + ";\r\n");
}

TEST_F(DialogTest, FontCancelKeepsTheEarlierLinesAndAnotherConfirmReplacesThem) {
  DialogDriver bold;
  bold.action = notingTheFace([](HWND dialog) {
    HWND styles = GetDlgItem(dialog, cmb2); // the last style is bold italic
    chooseInCombo(dialog, cmb2, SendMessageW(styles, CB_GETCOUNT, 0, 0) - 1);
    SendDlgItemMessageW(dialog, chx1, BM_CLICK, 0, 0); // strike-out
    SendDlgItemMessageW(dialog, chx2, BM_CLICK, 0, 0); // underline
  });
  clickWithDialog(C::Button1, bold);
  const std::string first = fontLines();
  EXPECT_EQ(first, "  color: #000000;\r\n  font-size: 12px;\r\n  font-style: italic;\r\n"
                   "  font-weight: bold;\r\n  font-family: " +
                       face() + ";\r\n  text-decoration: underline line-through;\r\n");

  DialogDriver cancel;
  cancel.command = IDCANCEL;
  cancel.action = [](HWND dialog) { SendDlgItemMessageW(dialog, chx2, BM_CLICK, 0, 0); };
  clickWithDialog(C::Button1, cancel);
  EXPECT_EQ(fontLines(), first);

  // The dialog opens on the last confirmed font; dropping the effects
  // removes the decoration line.
  DialogDriver plain;
  plain.action = notingTheFace([](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessageW(dialog, chx2, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendDlgItemMessageW(dialog, chx1, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog, chx2, BM_CLICK, 0, 0);
  });
  clickWithDialog(C::Button1, plain);
  EXPECT_EQ(fontLines(), "  color: #000000;\r\n  font-size: 12px;\r\n  font-style: italic;\r\n"
                         "  font-weight: bold;\r\n  font-family: " +
                             face() + ";\r\n");

  click(C::make);
  EXPECT_NE(memo().find(L"  font-weight: bold;\r\n"), std::wstring::npos);
}

TEST_F(DialogTest, ColourButtonsShareOneDialogThatStartsFromTheLastColourChosen) {
  showPage(1);
  DialogDriver blue;
  blue.action = [](HWND dialog) { setColourDialogRgb(dialog, L"0", L"0", L"255"); };
  clickWithDialog(C::Button3, blue);
  EXPECT_EQ(text(C::border_color), L"#0000FF");
  EXPECT_EQ(text(C::back_color), L"");

  setText(C::border_color, L"#123456"); // what the edit holds does not matter
  DialogDriver cancel;
  cancel.command = IDCANCEL;
  std::wstring startedWith[3];
  cancel.action = [&](HWND dialog) {
    startedWith[0] = itemText(dialog, COLOR_RED);
    startedWith[1] = itemText(dialog, COLOR_GREEN);
    startedWith[2] = itemText(dialog, COLOR_BLUE);
    setColourDialogRgb(dialog, L"9", L"9", L"9");
  };
  clickWithDialog(C::Button4, cancel);
  EXPECT_EQ(startedWith[0], L"0");
  EXPECT_EQ(startedWith[1], L"0");
  EXPECT_EQ(startedWith[2], L"255");
  EXPECT_EQ(text(C::back_color), L"") << "cancelling leaves the edit alone";

  DialogDriver red;
  red.action = [](HWND dialog) { setColourDialogRgb(dialog, L"255", L"0", L"0"); };
  clickWithDialog(C::Button4, red);
  EXPECT_EQ(text(C::back_color), L"#FF0000");
  EXPECT_EQ(text(C::border_color), L"#123456");
  // The other button's dialog now starts from red.
  DialogDriver cancelAgain;
  cancelAgain.command = IDCANCEL;
  cancelAgain.action = cancel.action;
  clickWithDialog(C::Button3, cancelAgain);
  EXPECT_EQ(startedWith[0], L"255");
  EXPECT_EQ(startedWith[1], L"0");
  EXPECT_EQ(startedWith[2], L"0");
  EXPECT_EQ(text(C::border_color), L"#123456");
}

} // namespace
