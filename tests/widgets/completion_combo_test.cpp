// Completion and change events in real combo boxes inside a real window.
#include "controls/completion_combo.h"

#include "tests/support/window_helpers.h"
#include "toolkit/errors.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace sheetloom_test;

const std::vector<std::wstring> kTags = {L"A",        L"A:ACTIVE", L"ADDRESS", L"B",
                                         L"BASEFONT", L"BDO",      L"BIG",     L"BODY",
                                         L"BUTTON",   L"H1",       L"HTML",    L"SPAN"};
const std::vector<std::wstring> kUnits = {L"px", L"em", L"ex"};
const std::vector<std::wstring> kCursors = {
    L"", L"自動", L"デフォルト", L"リンク", L"リサイズ(上端)", L"リサイズ(下端)", L"😀face"};
const std::vector<std::wstring> kPositions = {L"",      L"相対位置", L"絶対位置", L"絶対位置(固定)",
                                              L"Apple", L"Banana",   L"Blueberry"};

// A window that forwards its WM_COMMAND to the attached combos, as the form does.
class Host : public HostWindow {
public:
  Host() : HostWindow(L"SheetloomComboTestHost", WS_OVERLAPPEDWINDOW, 50, 50, 500, 400) {
    ShowWindow(hwnd(), SW_SHOWNORMAL);
  }

  HWND addCombo(DWORD kind, const std::vector<std::wstring>& entries, int y) {
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | kind, 10,
                                 y, 150, 200, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const auto& e : entries)
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
    return combo;
  }

  std::vector<controls::CompletionCombo*> combos;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND)
      for (auto* c : combos)
        if (c->handleCommand(wp, lp))
          return 0;
    return defaultProc(msg, wp, lp);
  }
};

struct Selection {
  DWORD start = 0, end = 0;
  bool operator==(const Selection& o) const { return start == o.start && end == o.end; }
};

class ComboTest : public ::testing::Test {
protected:
  void attach(DWORD kind, const std::vector<std::wstring>& entries, bool autoDropDown) {
    combo_ = host_.addCombo(kind, entries, 10);
    completion_.attach(combo_, {true, autoDropDown});
    completion_.onChange = [this] { changes_.push_back(tk::windowText(combo_)); };
    host_.combos.push_back(&completion_);
    const COMBOBOXINFO info = comboBoxInfo(combo_);
    edit_ = kind == CBS_DROPDOWNLIST ? combo_ : info.hwndItem;
    list_ = info.hwndList;
    SetFocus(edit_);
  }
  void TearDown() override {
    if (combo_)
      SendMessageW(combo_, CB_SHOWDROPDOWN, FALSE, 0);
  }

  void type(const std::wstring& keys) { typeChars(edit_, keys); }
  void setText(const std::wstring& text) { tk::setWindowText(combo_, text); }
  void select(DWORD start, DWORD end) { SendMessageW(edit_, EM_SETSEL, start, end); }
  std::wstring text() const { return tk::windowText(combo_); }
  int current() const { return static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0)); }
  Selection selection() const {
    Selection s;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start),
                 reinterpret_cast<LPARAM>(&s.end));
    return s;
  }
  bool dropped() const { return SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != 0; }

  // The combo's clock: now_, which a test moves on by hand.
  class TestClock final : public controls::Clock {
  public:
    explicit TestClock(const DWORD& now) : now_(now) {}
    DWORD milliseconds() const noexcept override { return now_; }

  private:
    const DWORD& now_;
  };

  DWORD now_ = 100000;
  TestClock clock_{now_};
  Host host_;
  controls::CompletionCombo completion_{clock_};
  HWND combo_ = nullptr, edit_ = nullptr, list_ = nullptr;
  std::vector<std::wstring> changes_;
};

TEST_F(ComboTest, SelectorCompletesBThenOAndBackspaceRemovesTheCompletion) {
  attach(CBS_DROPDOWN, kTags, true);
  setText(L"");
  EXPECT_FALSE(dropped());

  type(L"b");
  EXPECT_TRUE(dropped()) << "the selector's list opens on the first typed key";
  EXPECT_EQ(text(), L"b");
  EXPECT_EQ(current(), 3); // "B"

  type(L"o");
  EXPECT_EQ(text(), L"boDY");
  EXPECT_EQ(selection(), (Selection{2, 4}));
  EXPECT_EQ(current(), 7); // "BODY"

  type(L"\b");
  EXPECT_EQ(text(), L"bo");
  EXPECT_EQ(selection(), (Selection{2, 2}));
  EXPECT_EQ(changes_, (std::vector<std::wstring>{L"b", L"boDY", L"bo"}));
}

TEST_F(ComboTest, SelectorNoEntryBeginsWithIsTypedAsIsWithAChangeOnEveryKey) {
  attach(CBS_DROPDOWN, kTags, true);
  setText(L"");
  type(L".cls");
  EXPECT_EQ(text(), L".cls");
  EXPECT_EQ(selection(), (Selection{4, 4}));
  EXPECT_EQ(changes_, (std::vector<std::wstring>{L".", L".c", L".cl", L".cls"}));
}

// Each row starts from a text, a list selection and an edit selection, types
// one key into the unit combo and checks what the user then sees.
struct TypingCase {
  const wchar_t* name;
  const wchar_t* start;
  int startEntry;
  Selection startSel;
  std::wstring keys;
  const wchar_t* text;
  Selection sel;
  bool change;
  bool ime = false; // the keys committed by the input method as one string
};

TEST_F(ComboTest, UnitComboTypingTable) {
  attach(CBS_DROPDOWN, kUnits, false);
  const TypingCase cases[] = {
      {L"empty, completes", L"", -1, {0, 0}, L"e", L"em", {1, 2}, true},
      {L"completion's rest replaced", L"em", 1, {1, 2}, L"x", L"ex", {2, 2}, true},
      {L"upper case kept as typed", L"px", 0, {0, 2}, L"E", L"Em", {1, 2}, true},
      {L"whole text searched", L"px", 0, {2, 2}, L"x", L"pxx", {3, 3}, true},
      {L"no match inserts at caret", L"px", 0, {1, 1}, L"t", L"ptx", {2, 2}, true},
      {L"same entry, same text", L"Em", 1, {1, 2}, L"m", L"Em", {2, 2}, false},
      {L"same entry, new text", L"e", 1, {1, 1}, L"M", L"eM", {2, 2}, true},
      {L"committed, completes", L"", -1, {0, 0}, L"e", L"em", {1, 2}, true, true},
      {L"committed, rest replaced", L"em", 1, {1, 2}, L"x", L"ex", {2, 2}, true, true},
      {L"committed, no match", L"px", 0, {1, 1}, L"t", L"ptx", {2, 2}, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setText(c.start);
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(c.startEntry), 0);
    select(c.startSel.start, c.startSel.end);
    changes_.clear();
    if (c.ime)
      ASSERT_TRUE(commitThroughIme(edit_, c.keys));
    else
      type(c.keys);
    EXPECT_EQ(text(), c.text);
    EXPECT_EQ(selection(), c.sel);
    EXPECT_EQ(changes_.size(), c.change ? 1u : 0u);
    EXPECT_FALSE(dropped()) << "only the selector drops its list down";
  }
  type(L"\b");
  EXPECT_EQ(current(), -1) << "backspace clears the list selection";
}

// Backspace, wherever the caret stands: the list selection is cleared, the
// caret stands where the deleted text began, and the change event fires,
// also when there was nothing before the caret to delete. It never opens the
// selector's list.
TEST_F(ComboTest, BackspaceClearsTheEntryPlacesTheCaretAndFiresTheChange) {
  attach(CBS_DROPDOWN, kTags, true);
  struct Case {
    const wchar_t* name;
    const wchar_t* start;
    int startEntry;
    Selection startSel;
    const wchar_t* text;
    DWORD caret;
  } cases[] = {
      {L"at the end", L"BODY", 7, {4, 4}, L"BOD", 3},
      {L"in the middle", L"BODY", 7, {2, 2}, L"BDY", 1},
      {L"the selection", L"boDY", 7, {2, 4}, L"bo", 2},
      {L"a selection from the start", L"BODY", 7, {0, 4}, L"", 0},
      {L"at the start, nothing selected", L"BODY", 7, {0, 0}, L"BODY", 0},
      {L"at the start of an empty text", L"", 0, {0, 0}, L"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setText(c.start);
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(c.startEntry), 0);
    ASSERT_EQ(current(), c.startEntry);
    select(c.startSel.start, c.startSel.end);
    changes_.clear();
    type(L"\b");
    EXPECT_EQ(text(), c.text);
    EXPECT_EQ(selection(), (Selection{c.caret, c.caret}));
    EXPECT_EQ(current(), -1);
    EXPECT_EQ(changes_, std::vector<std::wstring>{c.text});
    EXPECT_FALSE(dropped());
  }
}

// Typed, or committed by the input method as a string, whose characters are
// then handled one by one as typed ones.
TEST_F(ComboTest, JapaneseAndSurrogatePairsCountAsOneCharacter) {
  attach(CBS_DROPDOWN, kCursors, false);
  const struct {
    const char* how;
    std::function<void(const std::wstring&)> send;
  } routes[] = {
      {"typed", [&](const std::wstring& chars) { type(chars); }},
      {"committed by the IME",
       [&](const std::wstring& chars) { ASSERT_TRUE(commitThroughIme(edit_, chars)); }},
  };
  for (const auto& route : routes) {
    SCOPED_TRACE(route.how);
    setText(L"");
    changes_.clear();
    route.send(L"リ");
    EXPECT_EQ(text(), L"リンク");
    EXPECT_EQ(selection(), (Selection{1, 3}));
    EXPECT_EQ(current(), 3);
    route.send(L"サ");
    EXPECT_EQ(text(), L"リサイズ(上端)");
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(changes_, (std::vector<std::wstring>{L"リンク", L"リサイズ(上端)"}));

    // Several characters at once: the entry is chosen once, then kept.
    setText(L"");
    changes_.clear();
    route.send(L"リンク");
    EXPECT_EQ(text(), L"リンク");
    EXPECT_EQ(selection(), (Selection{3, 3}));
    EXPECT_EQ(current(), 3);
    EXPECT_EQ(changes_, std::vector<std::wstring>{L"リンク"});
    setText(L"");
    changes_.clear();
    route.send(L"リサ");
    EXPECT_EQ(text(), L"リサイズ(上端)");
    EXPECT_EQ(selection(), (Selection{2, 8}));
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(changes_, (std::vector<std::wstring>{L"リンク", L"リサイズ(上端)"}));
    // No entry begins with the rest: it is inserted character by character.
    route.send(L"左右");
    EXPECT_EQ(text(), L"リサ左右");
    EXPECT_EQ(current(), -1);
    EXPECT_EQ(changes_.size(), 4u);

    setText(L"");
    changes_.clear();
    route.send(L"😀"); // two units: high and low surrogate
    EXPECT_EQ(text(), L"😀face");
    EXPECT_EQ(selection(), (Selection{2, 6}));
    EXPECT_EQ(changes_, (std::vector<std::wstring>{L"😀face"}));

    setText(L"x");
    select(1, 1);
    changes_.clear();
    route.send(L"😀");
    EXPECT_EQ(text(), L"x😀");
    EXPECT_EQ(changes_, (std::vector<std::wstring>{L"x😀"})) << "no change with half a pair";
    type(L"\b");
    EXPECT_EQ(text(), L"x") << "backspace removes the pair as a whole";
    EXPECT_EQ(selection(), (Selection{1, 1}));
  }
  // A composition cancelled leaves the text, the completion and the entry.
  setText(L"");
  type(L"リ");
  changes_.clear();
  ASSERT_TRUE(commitThroughIme(edit_, L"サ", CPS_CANCEL));
  EXPECT_EQ(text(), L"リンク");
  EXPECT_EQ(selection(), (Selection{1, 3}));
  EXPECT_EQ(current(), 3);
  EXPECT_TRUE(changes_.empty());
}

TEST_F(ComboTest, ChangesByCodeRaiseNoEventButChoicesByTheUserDo) {
  attach(CBS_DROPDOWN, kTags, true);
  setText(L"H1");
  SendMessageW(combo_, CB_SETCURSEL, 2, 0);
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  tk::setWindowText(edit_, L"DIV");
  SendMessageW(combo_, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"SPAN"));
  EXPECT_TRUE(changes_.empty());

  // The arrow key chooses the next entry; the event sees its text already.
  SendMessageW(combo_, CB_SETCURSEL, 9, 0); // "H1"
  SendMessageW(edit_, WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(current(), 10);
  EXPECT_EQ(changes_, (std::vector<std::wstring>{L"HTML"}));

  // Delete goes to the platform, which reports it once.
  select(0, 0);
  changes_.clear();
  SendMessageW(edit_, WM_KEYDOWN, VK_DELETE, 1);
  SendMessageW(edit_, WM_KEYUP, VK_DELETE, 1);
  EXPECT_EQ(text(), L"TML");
  EXPECT_EQ(changes_, (std::vector<std::wstring>{L"TML"}));
}

TEST_F(ComboTest, MouseChoiceFromTheDroppedListIsOneChangeWithTheEntrysText) {
  attach(CBS_DROPDOWN, kTags, true);
  type(L"h");
  ASSERT_TRUE(dropped());
  changes_.clear();
  RECT item{};
  SendMessageW(list_, LB_GETITEMRECT, 9, reinterpret_cast<LPARAM>(&item)); // "H1"
  const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
  SendMessageW(list_, WM_MOUSEMOVE, 0, at);
  SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list_, WM_LBUTTONUP, 0, at);
  EXPECT_FALSE(dropped());
  EXPECT_EQ(text(), L"H1");
  EXPECT_EQ(current(), 9);
  EXPECT_EQ(changes_, (std::vector<std::wstring>{L"H1"}));
}

TEST_F(ComboTest, ErrorInTheHandlerIsReportedAndTheTypingStands) {
  ErrorCapture errors;
  attach(CBS_DROPDOWN, kUnits, false);
  setText(L"");
  completion_.onChange = [] { throw tk::Error("broken handler"); };
  type(L"e");
  EXPECT_EQ(errors.shown, std::vector<std::wstring>{L"broken handler"});
  EXPECT_EQ(text(), L"em");
}

TEST_F(ComboTest, DropDownListSearchesIncrementallyAndStartsAfreshAfter500ms) {
  attach(CBS_DROPDOWNLIST, kPositions, false);
  type(L"絶");
  EXPECT_EQ(current(), 2);
  now_ += 100;
  type(L"対");
  EXPECT_EQ(current(), 2);
  EXPECT_EQ(changes_.size(), 1u) << "the same entry again is no change";

  now_ += 499;
  type(L"位置(");
  EXPECT_EQ(current(), 3) << "within 500 ms the search text grows";

  now_ += 500;
  type(L"相");
  EXPECT_EQ(current(), 1) << "after 500 ms the search starts afresh";

  now_ += 600;
  type(L"b");
  EXPECT_EQ(current(), 5);
  now_ += 10;
  type(L"L");
  EXPECT_EQ(current(), 6) << "case is ignored";
  EXPECT_EQ(changes_.size(), 5u);
}

TEST(SetVisibleItems, DroppedListShowsEightEntries) {
  Host host;
  HWND combo = host.addCombo(CBS_DROPDOWN, kTags, 10);
  controls::setVisibleItems(combo, 8);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  RECT client{};
  GetClientRect(comboBoxInfo(combo).hwndList, &client);
  const auto item = static_cast<LONG>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_GE(client.bottom, 8 * item);
  EXPECT_LT(client.bottom, 9 * item);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

} // namespace
