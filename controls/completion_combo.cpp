#include "controls/completion_combo.h"

#include "toolkit/errors.h"
#include "toolkit/placement.h"
#include "toolkit/text.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace controls {
namespace {

const DWORD kSearchResetMs = 500;

// Marks the text or selection changes made while alive as the program's own,
// so that the notifications they cause are not taken for the user's.
class OwnChange {
public:
  explicit OwnChange(int& depth) noexcept : depth_(depth) { ++depth_; }
  OwnChange(const OwnChange&) = delete;
  OwnChange& operator=(const OwnChange&) = delete;
  ~OwnChange() { --depth_; }

private:
  int& depth_;
};

struct Selection {
  DWORD start = 0, end = 0;
};

Selection editSelection(HWND edit) {
  Selection s;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start),
               reinterpret_cast<LPARAM>(&s.end));
  return s;
}

int currentSelection(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

// Messages by which code (never the user) sets a combo's text or list.
bool isProgramChange(UINT msg) {
  switch (msg) {
  case WM_SETTEXT:
  case CB_SETCURSEL:
  case CB_SELECTSTRING:
  case CB_RESETCONTENT:
  case CB_ADDSTRING:
  case CB_INSERTSTRING:
  case CB_DELETESTRING:
  case EM_REPLACESEL:
    return true;
  default:
    return false;
  }
}

class TickCount final : public Clock {
public:
  DWORD milliseconds() const noexcept override { return GetTickCount(); }
};

} // namespace

const Clock& tickCount() noexcept {
  static const TickCount clock{};
  return clock;
}

CompletionCombo::~CompletionCombo() {
  detach();
}

void CompletionCombo::attach(HWND combo, Options options) {
  detach();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!combo || !GetComboBoxInfo(combo, &info))
    throw tk::Error("コンボボックスではありません");
  const bool dropDownList = (GetWindowLongPtrW(combo, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
  tk::checked(combo_.install(
                  combo,
                  [this](UINT msg, WPARAM wp, LPARAM lp) { return onComboMessage(msg, wp, lp); },
                  [this] { detach(); }),
              "コンボボックスを準備できません");
  list_ = info.hwndList;
  options_ = options;
  if (!dropDownList && info.hwndItem &&
      !edit_.install(info.hwndItem, [this](UINT msg, WPARAM wp, LPARAM lp) {
        return onEditMessage(msg, wp, lp);
      })) {
    const DWORD code = GetLastError();
    detach();
    throw tk::Error("コンボボックスを準備できません", code);
  }
}

void CompletionCombo::detach() noexcept {
  edit_.remove();
  combo_.remove();
  list_ = nullptr;
  highSurrogate_ = 0;
  search_.clear();
  composing_.reset();
}

bool CompletionCombo::handleCommand(WPARAM wp, LPARAM lp) {
  if (!hwnd() || reinterpret_cast<HWND>(lp) != hwnd())
    return false;
  const WORD code = HIWORD(wp);
  // What the platform shows of a composition is not yet typed text.
  if ((code != CBN_EDITCHANGE && code != CBN_SELCHANGE) || ownChanges_ > 0 ||
      (code == CBN_EDITCHANGE && composing_))
    return true;
  if (code == CBN_SELCHANGE && edit()) {
    // The platform reports a choice from the list before it copies the entry
    // into the edit; the handler must already read the chosen text.
    const int index = currentSelection(hwnd());
    if (index >= 0) {
      OwnChange own(ownChanges_);
      const std::wstring entry = entryText(index);
      SendMessageW(edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(entry.c_str()));
      // Setting the edit's text makes the combo search its list again, and a
      // closed list then loses its selection, which the combo reads next.
      if (currentSelection(hwnd()) != index)
        SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
  }
  fireChange();
  return true;
}

LRESULT CompletionCombo::onComboMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (isProgramChange(msg)) {
    OwnChange own(ownChanges_);
    return combo_.next(msg, wp, lp);
  }
  if (msg == WM_CHAR && !edit() && options_.completion) {
    std::wstring ch;
    switch (takeCharacter(wp, ch)) {
    case Key::Pending:
      return 0;
    case Key::Character:
      if (searchList(ch))
        return 0;
      // Left to the list's own behaviour, a pair unit by unit.
      for (wchar_t unit : ch)
        combo_.next(msg, unit, lp);
      return 0;
    case Key::Control:
      break;
    }
  }
  return combo_.next(msg, wp, lp);
}

LRESULT CompletionCombo::onEditMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (isProgramChange(msg)) {
    OwnChange own(ownChanges_);
    return edit_.next(msg, wp, lp);
  }
  if (options_.completion && (msg == WM_IME_STARTCOMPOSITION || msg == WM_IME_ENDCOMPOSITION)) {
    // The composition starts from the text as it stands; one that ends
    // without a result (cancelled) leaves it as it was.
    if (msg == WM_IME_ENDCOMPOSITION)
      endComposition();
    else
      beginComposition();
  }
  if (options_.completion && msg == WM_IME_COMPOSITION) {
    // Each character the input method commits is handled as a typed one, on
    // the text and selection from before the composition.
    if (const std::wstring text = committedText(edit(), lp); !text.empty()) {
      endComposition();
      for (wchar_t ch : text)
        onEditMessage(WM_CHAR, ch, 1);
      lp = compositionOnly(lp);
      if (!lp)
        return 0;
      beginComposition(); // the next one goes on at once
      return edit_.next(msg, wp, lp);
    }
  }
  if (options_.completion && msg == WM_IME_CHAR)
    msg = WM_CHAR; // a character the input method sent on its own
  if (msg == WM_CHAR && options_.completion) {
    if (wp == VK_BACK) {
      highSurrogate_ = 0;
      backspace();
      return 0;
    }
    std::wstring ch;
    switch (takeCharacter(wp, ch)) {
    case Key::Pending:
      return 0;
    case Key::Character:
      if (!typeIntoEdit(ch))
        insertAsTyped(ch, lp);
      return 0;
    case Key::Control:
      break;
    }
  }
  return edit_.next(msg, wp, lp);
}

CompletionCombo::Key CompletionCombo::takeCharacter(WPARAM wp, std::wstring& ch) {
  const auto c = static_cast<wchar_t>(wp);
  if (IS_HIGH_SURROGATE(c)) {
    highSurrogate_ = c; // the character is whole with the low half, in the next WM_CHAR
    return Key::Pending;
  }
  const wchar_t high = std::exchange(highSurrogate_, wchar_t{0});
  if (IS_LOW_SURROGATE(c)) {
    if (!high)
      return Key::Control;
    ch = {high, c};
    return Key::Character;
  }
  if (c < 0x20 || c == 0x7F)
    return Key::Control; // Enter, Escape, Tab, Ctrl+letter shortcuts, Ctrl+Backspace
  ch.assign(1, c);
  return Key::Character;
}

bool CompletionCombo::typeIntoEdit(const std::wstring& ch) {
  const int before = currentSelection(hwnd());
  const std::wstring oldText = tk::windowText(edit());
  Selection sel = editSelection(edit());
  if (options_.autoDropDown && !SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0)) {
    SendMessageW(hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    // Opening the list must not move what the key applies to.
    SendMessageW(edit(), EM_SETSEL, sel.start, static_cast<LPARAM>(sel.end));
  }
  sel.start = std::min<DWORD>(sel.start, static_cast<DWORD>(oldText.size()));
  std::wstring search = sel.end > sel.start ? oldText.substr(0, sel.start) : oldText;
  search += ch;
  const int index = findPrefix(search);
  if (index < 0)
    return false;
  const std::wstring text = search + entryText(index).substr(search.size());
  {
    OwnChange own(ownChanges_);
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // Setting the text makes a closed list drop its selection again.
    if (currentSelection(hwnd()) != index)
      SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(edit(), EM_SETSEL, search.size(), static_cast<LPARAM>(text.size()));
  }
  // A new entry is a change; so is new text under the same entry ("bo" +
  // "d" keeps BODY but shows "bodY"), which the selector's mirror must see.
  if (index != before || text != oldText)
    fireChange();
  return true;
}

void CompletionCombo::insertAsTyped(const std::wstring& ch, LPARAM lp) {
  const std::wstring oldText = tk::windowText(edit());
  {
    OwnChange own(ownChanges_);
    if (ch.size() == 1) {
      edit_.next(WM_CHAR, ch[0], lp);
    } else {
      // One replacement keeps a surrogate pair whole, with one change.
      SendMessageW(edit(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(ch.c_str()));
    }
  }
  if (tk::windowText(edit()) != oldText)
    fireChange();
}

void CompletionCombo::beginComposition() {
  composing_ = Composing{EditSnapshot::of(edit()), currentSelection(hwnd())};
}

void CompletionCombo::endComposition() {
  if (!composing_)
    return;
  const Composing before = std::move(*composing_);
  composing_.reset();
  if (!edit() || tk::windowText(edit()) == before.edit.text)
    return;
  OwnChange own(ownChanges_);
  SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(before.entry), 0);
  before.edit.restore(edit());
  // Setting the text makes a closed list drop its selection again.
  if (currentSelection(hwnd()) != before.entry)
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(before.entry), 0);
}

void CompletionCombo::backspace() {
  std::wstring text = tk::windowText(edit());
  Selection sel = editSelection(edit());
  const auto size = static_cast<DWORD>(text.size());
  sel.start = std::min(sel.start, size);
  sel.end = std::min(std::max(sel.end, sel.start), size);
  // With nothing selected the character before the caret goes, if there is
  // one; at the start nothing is deleted, and the entry is still let go.
  if (sel.start == sel.end && sel.start > 0) {
    --sel.start;
    if (sel.start > 0 && IS_LOW_SURROGATE(text[sel.start]) &&
        IS_HIGH_SURROGATE(text[sel.start - 1]))
      --sel.start;
  }
  text.erase(sel.start, sel.end - sel.start);
  {
    OwnChange own(ownChanges_);
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(edit(), EM_SETSEL, sel.start, static_cast<LPARAM>(sel.start));
  }
  fireChange();
}

bool CompletionCombo::searchList(const std::wstring& ch) {
  const DWORD now = clock_.milliseconds();
  if (now - lastKey_ >= kSearchResetMs)
    search_.clear();
  lastKey_ = now;
  search_ += ch;
  const int index = findPrefix(search_);
  if (index < 0)
    return false;
  if (index != currentSelection(hwnd())) {
    {
      OwnChange own(ownChanges_);
      SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    fireChange();
  }
  return true;
}

int CompletionCombo::findPrefix(const std::wstring& prefix) const {
  const int count = static_cast<int>(SendMessageW(hwnd(), CB_GETCOUNT, 0, 0));
  const int n = static_cast<int>(prefix.size());
  for (int i = 0; i < count; ++i) {
    const std::wstring entry = entryText(i);
    if (entry.size() >= prefix.size() &&
        CompareStringOrdinal(entry.data(), n, prefix.data(), n, TRUE) == CSTR_EQUAL)
      return i;
  }
  return -1;
}

std::wstring CompletionCombo::entryText(int index) const {
  const LRESULT len = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (len <= 0)
    return {};
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  const LRESULT got = SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void CompletionCombo::fireChange() {
  if (onChange)
    onChange();
}

void setVisibleItems(HWND combo, int count) {
  if (SendMessageW(combo, CB_SETMINVISIBLE, static_cast<WPARAM>(count), 0))
    return;
  // Without the version 6 controls the dropped list takes the height that the
  // combo's window is given beyond its closed height.
  RECT r{};
  GetWindowRect(combo, &r);
  const auto item = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  const int height = (r.bottom - r.top) + count * item + 2 * GetSystemMetrics(SM_CYBORDER);
  tk::resizeWindow(combo, r.right - r.left, height);
}

} // namespace controls
