// Type-ahead completion and user-only change notifications for a combo box
// that the form has already created.
//
// How the form uses it:
//
//   CompletionCombo tag;                       // a member; not copyable or movable
//   tag.attach(tagHwnd, {true, true});         // TAG: completion, automatic drop-down
//   tag.onChange = [this] { TAGChange(tag.hwnd()); };
//   ...
//   // in the WM_COMMAND handling of the combo's parent window:
//   if (tag.handleCommand(wp, lp)) return 0;
//
// Who turns CBN_* into onChange: this object, through handleCommand(). The
// form forwards every WM_COMMAND that reaches the combo's parent and must not
// act on CBN_EDITCHANGE / CBN_SELCHANGE of an attached combo itself, otherwise
// it sees each change twice. onChange fires exactly once for each change made
// by the user (typing, Backspace/Delete, cut, paste, undo, choosing an entry
// with the mouse or the keys, completion) and never for changes made by code:
// WM_SETTEXT (SetWindowTextW), CB_SETCURSEL and the other CB_* messages sent
// to the combo or to its edit are recognised as the program's own.
//
// When onChange runs for an editable combo, the combo's text already is the
// text the user sees (the platform reports a choice from the list before it
// copies the entry into the edit; we copy it first).
//
// Completion (editable combos): each typed character searches the list for the
// first entry beginning, ignoring case, with the text before the selection (or
// the whole text when nothing is selected) plus the character. On a match the
// text becomes what was typed followed by the rest of the entry, the rest is
// selected and the entry is the list selection; otherwise the character is
// inserted as usual. Backspace deletes the selection or the character before
// the caret (a surrogate pair as a whole), clears the list selection, puts
// the caret where the deleted text began and raises onChange; at the start of
// the text with nothing selected it deletes nothing but does the rest.
//
// Input method (editable combos): each character of a committed string is
// handled as a typed one, in order, on the text as it stood before the
// composition; while composing, the platform shows the composition its own
// way, and what it does to the text raises no onChange. A cancelled
// composition leaves the text as it was.
//
// Incremental search (drop-down lists, CBS_DROPDOWNLIST): typed characters add
// up to a search text that starts afresh after 500 ms without a key; the first
// entry beginning with it is selected. Keys that match nothing are left to the
// platform's own list behaviour.
#pragma once

#include "controls/ime.h"

#include "toolkit/subclass.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace controls {

// The milliseconds a drop-down list's incremental search is reset after (500
// ms without a key), handed to the combo at construction. A seam that stays:
// a test's own clock steps over the 500 ms at once and exactly, where waiting
// would be slow and flaky. The program uses tickCount().
class Clock {
public:
  virtual ~Clock() = default;
  virtual DWORD milliseconds() const noexcept = 0;
};

// GetTickCount.
const Clock& tickCount() noexcept;

class CompletionCombo {
public:
  struct Options {
    bool completion = true;    // false: keys are left to the platform
    bool autoDropDown = false; // open the list on the first typed character
  };

  // `clock` is kept by reference.
  explicit CompletionCombo(const Clock& clock = tickCount()) noexcept : clock_(clock) {}
  CompletionCombo(const CompletionCombo&) = delete;
  CompletionCombo& operator=(const CompletionCombo&) = delete;
  ~CompletionCombo();

  // Attaches to a combo box (CBS_DROPDOWN or CBS_DROPDOWNLIST) that the caller
  // owns; the combo may be destroyed before this object. Throws tk::Error.
  void attach(HWND combo, Options options);
  void detach() noexcept;
  HWND hwnd() const noexcept { return combo_.hwnd(); } // borrowed

  // The change event. Exceptions thrown by it propagate out of handleCommand
  // (to the form's own error boundary); during typing, which this object
  // handles inside the control, they go to tk::reportCurrentException.
  std::function<void()> onChange;

  // Offer a WM_COMMAND received by the combo's parent. Returns true when it
  // came from this combo (the form then returns 0 and does nothing more).
  bool handleCommand(WPARAM wp, LPARAM lp);

private:
  // The combo's edit (borrowed), null for drop-down lists and once it is gone.
  HWND edit() const noexcept { return edit_.hwnd(); }
  LRESULT onComboMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT onEditMessage(UINT msg, WPARAM wp, LPARAM lp);

  enum class Key { Character, Pending, Control };
  Key takeCharacter(WPARAM wp, std::wstring& ch);
  bool typeIntoEdit(const std::wstring& ch);
  void insertAsTyped(const std::wstring& ch, LPARAM lp);
  void backspace();
  void beginComposition();
  void endComposition();
  bool searchList(const std::wstring& ch);
  int findPrefix(const std::wstring& prefix) const;
  std::wstring entryText(int index) const;
  void fireChange();

  tk::Subclass combo_;
  tk::Subclass edit_;
  HWND list_ = nullptr; // borrowed: the combo's list box
  Options options_;
  int ownChanges_ = 0; // > 0 while the text or selection is being set by code
  wchar_t highSurrogate_ = 0;
  // The edit and the list selection as they stood when the input method's
  // composition began.
  struct Composing {
    EditSnapshot edit;
    int entry;
  };
  std::optional<Composing> composing_;
  std::wstring search_; // incremental search of a drop-down list
  DWORD lastKey_ = 0;
  const Clock& clock_;
};

// Makes the combo's list show `count` entries at a time when it drops down.
void setVisibleItems(HWND combo, int count);

} // namespace controls
