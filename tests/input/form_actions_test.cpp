// What a user does with Form1, with real clicks and keys: every button, the
// pages, completion while typing, and a whole save with its confirmation or
// its error box. The system's dialogs are answered with real input too.
#include "tests/support/form_fixture.h"

#include "tests/support/temporary_files.h"

#include <colordlg.h>
#include <dlgs.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace sheetloom_test;

// The file name box of the save dialog.
HWND fileNameBox(HWND dialog) {
  HWND name = GetDlgItem(dialog, cmb13);
  if (name) {
    const COMBOBOXINFO info = comboBoxInfo(name);
    return info.hwndItem ? info.hwndItem : name;
  }
  return GetDlgItem(dialog, edt1);
}

std::string shiftJis(const std::wstring& text) {
  const int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                       0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

class FormActionsTest : public FormTest {
protected:
  // In the save dialog: a click into the file name box, the path typed, Enter.
  void answerSaveDialog(HWND dialog, const std::wstring& path) {
    RealInput::LeaveToDialogLoop queue(input);
    input.click(fileNameBox(dialog));
    input.type(path);
    input.key(VK_RETURN);
  }
  // A key for a system dialog or message box, taken by its own loop.
  void answerWithKey(WORD vk) {
    RealInput::LeaveToDialogLoop queue(input);
    input.key(vk);
  }
};

TEST_F(FormActionsTest, EveryButtonWorksWithARealClick) {
  const std::wstring rule = L"BODY{\r\n}\r\n";
  input.click(c(C::make));
  EXPECT_EQ(memo(), rule);
  EXPECT_EQ(focusedControl(), c(C::make));
  // The focused button, and only it, takes Enter and the space bar.
  input.key(VK_RETURN);
  input.key(VK_SPACE);
  EXPECT_EQ(memo(), rule + rule + rule);

  input.click(c(C::Button5));
  EXPECT_EQ(memo(), L"");
  // Clear is one undoable edit: Ctrl+Z in the memo brings the whole text back.
  input.click(c(C::StyleSheet));
  input.key('Z', Ctrl);
  EXPECT_EQ(memo(), rule + rule + rule);

  // The font dialog, confirmed with Enter: the next rule carries its lines.
  {
    WindowSequence steps({{L"#32770", [&](HWND) { answerWithKey(VK_RETURN); }}});
    input.click(c(C::Button1));
    EXPECT_EQ(steps.done(), 1u);
  }
  input.click(c(C::make));
  EXPECT_NE(memo().find(L"  font-size: 12px;\r\n"), std::wstring::npos);

  // The colour dialog: a click on its first basic colour, then Enter.
  clickTab(1);
  {
    WindowSequence steps({{L"#32770", [&](HWND dialog) {
                             RealInput::LeaveToDialogLoop queue(input);
                             HWND colours = GetDlgItem(dialog, COLOR_BOX1);
                             RECT r{};
                             GetClientRect(colours, &r);
                             input.click(colours, POINT{r.right / 16, r.bottom / 12});
                             input.key(VK_RETURN);
                           }}});
    input.click(c(C::Button3));
    EXPECT_EQ(steps.done(), 1u);
  }
  EXPECT_EQ(text(C::border_color), L"#FF8080");
  // Escape cancels; the dialog then opens on the colour chosen last.
  {
    WindowSequence steps({{L"#32770", [&](HWND) { answerWithKey(VK_ESCAPE); }}});
    input.click(c(C::Button4));
    EXPECT_EQ(steps.done(), 1u);
  }
  EXPECT_EQ(text(C::back_color), L"");
  {
    WindowSequence steps({{L"#32770", [&](HWND) { answerWithKey(VK_RETURN); }}});
    input.click(c(C::Button4));
    EXPECT_EQ(steps.done(), 1u);
  }
  EXPECT_EQ(text(C::back_color), L"#FF8080");

  // The save dialog, cancelled with Escape: nothing is written or shown, and
  // the next one offers no name either.
  input.click(c(C::make));
  for (int opening = 0; opening < 2; ++opening) {
    std::wstring offered = L"?";
    WindowSequence steps({{L"#32770", [&](HWND dialog) {
                             offered = tk::windowText(fileNameBox(dialog));
                             answerWithKey(VK_ESCAPE);
                           }}});
    input.click(c(C::Button2));
    EXPECT_EQ(steps.done(), 1u);
    EXPECT_EQ(offered, L"") << opening;
  }
  EXPECT_NE(memo().find(L"  background-color: #FF8080;\r\n"), std::wstring::npos);
  EXPECT_TRUE(input.ok());
}

TEST_F(FormActionsTest, PagesSwitchByClickAndByCtrlTab) {
  for (int page : {2, 1, 0, 2}) {
    clickTab(page);
    EXPECT_EQ(currentPage(), page);
    EXPECT_EQ(IsWindowVisible(c(C::TabSheet3)) != FALSE, page == 2);
    EXPECT_EQ(IsWindowVisible(c(C::TabSheet1)) != FALSE, page == 1);
    EXPECT_EQ(IsWindowVisible(c(C::TabSheet2)) != FALSE, page == 0);
  }
  EXPECT_EQ(focusedControl(), c(C::PageControl1));

  struct Case {
    ui::ControlId from; // where the focus is: clicked, unless it is already there
    Modifier keys;
    int page;
  } cases[] = {
      {C::PageControl1, Ctrl, 0},
      {C::PageControl1, Ctrl, 1},
      {C::PageControl1, Ctrl | Shift, 0},
      {C::PageControl1, Ctrl | Shift, 2},
      {C::zin, Ctrl, 0}, // from a control on the page shown, whose page then hides
      {C::PageControl1, Ctrl, 1},
      {C::border_color, Ctrl | Shift, 0},
      {C::width, Ctrl, 1},
      {C::TAG, Ctrl, 1}, // outside the pages Ctrl+Tab changes nothing
      {C::make, Ctrl | Shift, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.from);
    HWND from = c(k.from);
    if (focusedControl() != from)
      input.click(from, POINT{4, 4});
    ASSERT_EQ(focusedControl(), from);
    const std::wstring tag = text(C::TAG);
    input.key(VK_TAB, k.keys);
    EXPECT_EQ(currentPage(), k.page);
    EXPECT_EQ(text(C::TAG), tag);
    // The focus never stays on a hidden page.
    HWND focus = GetFocus();
    for (ui::ControlId page : {C::TabSheet2, C::TabSheet1, C::TabSheet3}) {
      if (IsChild(c(page), focus)) {
        EXPECT_TRUE(IsWindowVisible(c(page)));
      }
    }
  }
  EXPECT_TRUE(input.ok());
}

TEST_F(FormActionsTest, TypingCompletesAndTheCaptionFollowsEveryKey) {
  HWND tag = editOf(C::TAG);
  input.click(tag);
  input.key(VK_END);
  input.type(L"\b\b\b\b");
  EXPECT_EQ(text(C::TAG), L"");
  EXPECT_EQ(text(C::GroupBox1), L"");
  EXPECT_FALSE(SendMessageW(c(C::TAG), CB_GETDROPPEDSTATE, 0, 0)) << "Backspace opens no list";

  input.type(L"b");
  EXPECT_EQ(text(C::TAG), L"b");
  EXPECT_EQ(text(C::GroupBox1), L"b");
  EXPECT_TRUE(SendMessageW(c(C::TAG), CB_GETDROPPEDSTATE, 0, 0));
  input.type(L"o");
  EXPECT_EQ(text(C::TAG), L"boDY");
  EXPECT_EQ(text(C::GroupBox1), L"boDY");
  EXPECT_EQ(selected(C::TAG), 12);
  input.type(L"\b");
  EXPECT_EQ(text(C::TAG), L"bo");
  EXPECT_EQ(text(C::GroupBox1), L"bo");
  EXPECT_EQ(selected(C::TAG), -1);

  // Backspace at the start lets the entry go and is a change all the same.
  input.type(L"d");
  EXPECT_EQ(text(C::TAG), L"bodY");
  EXPECT_EQ(selected(C::TAG), 12);
  input.key(VK_HOME);
  tk::setWindowText(c(C::GroupBox1), L""); // the change mirrors the text into it again
  input.type(L"\b");
  EXPECT_EQ(text(C::TAG), L"bodY");
  EXPECT_EQ(caretOf(tag), 0u);
  EXPECT_EQ(selected(C::TAG), -1);
  EXPECT_EQ(text(C::GroupBox1), L"bodY");

  // Escape closes the list and keeps the text; the rule takes the selector.
  input.key(VK_ESCAPE);
  EXPECT_FALSE(SendMessageW(c(C::TAG), CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(text(C::TAG), L"bodY");
  input.click(c(C::make));
  EXPECT_EQ(memo(), L"bodY{\r\n}\r\n");

  // Japanese typed into the cursor combo completes from its entries.
  input.click(editOf(C::cursor));
  input.type(L"リ");
  EXPECT_EQ(text(C::cursor), L"リンク");
  input.type(L"サ");
  EXPECT_EQ(text(C::cursor), L"リサイズ(上端)");
  EXPECT_EQ(selected(C::cursor), 9);
  EXPECT_EQ(text(C::GroupBox1), L"bodY");

  // Committed by the input method, each character is typed in turn: リンク
  // selects its entry and the rule gets its line; リサ goes on to リサイズ.
  const struct {
    std::wstring committed, shown;
    int entry;
    std::wstring line;
  } commits[] = {{L"リンク", L"リンク", 3, L"  cursor: pointer;\r\n"},
                 {L"リサ", L"リサイズ(上端)", 9, L"  cursor: n-resize;\r\n"}};
  for (const auto& k : commits) {
    input.click(editOf(C::cursor));
    SendMessageW(editOf(C::cursor), EM_SETSEL, 0, -1);
    input.type(L"\b");
    ASSERT_TRUE(commitThroughIme(editOf(C::cursor), k.committed));
    EXPECT_EQ(text(C::cursor), k.shown);
    EXPECT_EQ(selected(C::cursor), k.entry);
    input.click(c(C::Button5));
    input.click(c(C::make));
    EXPECT_NE(memo().find(k.line), std::wstring::npos) << tk::narrow(memo());
  }
  EXPECT_TRUE(input.ok());
}

// A selector that no entry begins with is taken as typed, the caption
// following every key; an emptied one leaves the caption empty and the rule
// starts with the brace. Committed by the input method, the string is typed
// character by character: "h1" completes to the entry H1 as typed keys do.
TEST_F(FormActionsTest, SelectorsNoEntryBeginsWithAreTakenAsTyped) {
  const struct {
    std::wstring typed;
    std::wstring rule;
    bool ime = false;
    int entry = -1;
  } cases[] = {
      {L".note p", L".note p{\r\n}\r\n"},
      {L"#日本 > li", L"#日本 > li{\r\n}\r\n"},
      {L"見出し", L"見出し{\r\n}\r\n", true, -1},
      {L"h1", L"h1{\r\n}\r\n", true, 32}, // "1" keeps entry and text
      {L"", L"{\r\n}\r\n"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(tk::narrow(k.typed));
    input.click(editOf(C::TAG));
    input.key(VK_END);
    input.type(std::wstring(text(C::TAG).size(), L'\b'));
    ASSERT_EQ(text(C::TAG), L"");
    std::wstring sofar;
    for (wchar_t ch : k.ime ? std::wstring() : k.typed) {
      input.type(std::wstring(1, ch));
      sofar += ch;
      EXPECT_EQ(text(C::TAG), sofar);
      EXPECT_EQ(text(C::GroupBox1), sofar);
    }
    if (k.ime) {
      tk::setWindowText(c(C::GroupBox1), L"-"); // each change mirrors the text into it
      ASSERT_TRUE(commitThroughIme(editOf(C::TAG), k.typed));
      EXPECT_EQ(text(C::TAG), k.typed);
      EXPECT_EQ(text(C::GroupBox1), k.typed);
      EXPECT_TRUE(SendMessageW(c(C::TAG), CB_GETDROPPEDSTATE, 0, 0));
    }
    EXPECT_EQ(selected(C::TAG), k.entry);
    input.key(VK_ESCAPE);
    input.click(c(C::Button5));
    input.click(c(C::make));
    EXPECT_EQ(memo(), k.rule);
  }
  EXPECT_TRUE(input.ok());
}

// Each enable box turns once per click and once per space bar, and shows its
// new state.
TEST_F(FormActionsTest, EnableBoxesTurnOncePerClickOrSpace) {
  clickTab(1);
  for (ui::ControlId box : {C::border_check, C::Ma_check, C::Pa_check}) {
    SCOPED_TRACE(box);
    input.click(c(box));
    EXPECT_EQ(SendMessageW(c(box), BM_GETCHECK, 0, 0), BST_CHECKED);
    input.key(VK_SPACE);
    EXPECT_EQ(SendMessageW(c(box), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  }
  // kotei and visible have no handler: a click only changes their state.
  input.click(c(C::kotei));
  EXPECT_EQ(SendMessageW(c(C::kotei), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(input.ok());
}

TEST_F(FormActionsTest, AddSaveConfirmCopyAndCloseWriteTheMemosBytes) {
  TemporaryFolder folder;
  const std::wstring target = folder.file(L"sheet.css");
  input.click(c(C::make));
  input.click(c(C::StyleSheet));
  input.key(VK_END, Ctrl);
  input.type(L"/* 見出し */");
  const std::wstring expected = L"BODY{\r\n}\r\n/* 見出し */";
  ASSERT_EQ(memo(), expected);

  std::wstring message, copied, button;
  bool foreground = false;
  {
    WindowSequence steps({
        {L"#32770", [&](HWND dialog) { answerSaveDialog(dialog, target); }},
        {L"SheetloomConfirmation",
         [&](HWND w) {
           foreground = GetForegroundWindow() == w;
           message = tk::windowText(GetWindow(w, GW_CHILD));
           button = tk::windowText(GetDlgItem(w, IDOK));
           input.key('C', Ctrl);
           copied = clipboardText();
           input.key(VK_RETURN);
         }},
    });
    input.click(c(C::Button2));
    EXPECT_EQ(steps.done(), 2u);
  }
  EXPECT_TRUE(foreground) << "the confirmation window takes the keys";
  EXPECT_EQ(message, L"保存しました。");
  EXPECT_EQ(readFile(target), shiftJis(expected));
  EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"sheet.css"});
  const std::wstring line = L"---------------------------\r\n";
  std::wstring shownButton = button;
  shownButton.erase(std::remove(shownButton.begin(), shownButton.end(), L'&'), shownButton.end());
  EXPECT_EQ(copied, line + L"Sheetloom\r\n" + line + L"保存しました。\r\n" + line + shownButton +
                        L"   \r\n" + line);
  EXPECT_EQ(memo(), expected) << "saving changes nothing";
  EXPECT_EQ(GetForegroundWindow(), form.hwnd());

  // Alt+F4 closes the window without a question and ends the program: the
  // form leaves the screen and the loop ends with 0 (the process then ends,
  // the windows going with it).
  input.key(VK_F4, Alt);
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  EXPECT_EQ(application.run(), 0);
  EXPECT_EQ(readFile(target), shiftJis(expected));
}

TEST_F(FormActionsTest, AFailedSaveShowsTheErrorBoxAndAKeyDismissesIt) {
  TemporaryFolder folder;
  const std::wstring target = folder.file(L"読み取り専用.css");
  writeFile(target, "old");
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
  input.click(c(C::make));
  const std::wstring before = memo();

  std::wstring caption, text;
  {
    WindowSequence steps({
        {L"#32770", [&](HWND dialog) { answerSaveDialog(dialog, target); }},
        {L"#32770",
         [&](HWND box) {
           caption = tk::windowText(box);
           text = messageBoxText(box);
           answerWithKey(VK_RETURN);
         }},
    });
    input.click(c(C::Button2));
    EXPECT_EQ(steps.done(), 2u);
  }
  EXPECT_EQ(caption, L"Sheetloom");
  EXPECT_EQ(text, L"ファイル " + target + L" を作成できません.");
  EXPECT_EQ(readFile(target), "old");
  EXPECT_EQ(memo(), before);
  EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
  // The window goes on: the next click adds the next rule.
  input.click(c(C::make));
  EXPECT_EQ(memo(), before + before);
  EXPECT_TRUE(input.ok());
}

} // namespace
