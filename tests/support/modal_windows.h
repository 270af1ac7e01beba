// Driving modal windows from a test: the test thread is inside the window's
// own modal loop, so it acts through thread timers, which that loop
// dispatches. A watchdog makes sure a window nobody dismisses fails the run
// instead of hanging it.
#pragma once

#include "tests/support/non_copyable.h"
#include "tests/support/win32_threads.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace sheetloom_test {

// Ends the process (exit code 3) if the scope is not left within `seconds`.
// It runs on its own thread, so it fires even when the test thread is stuck.
class Watchdog : NonCopyable {
public:
  explicit Watchdog(int seconds);
  ~Watchdog();

private:
  Event finished_;
  Thread thread_;
};

// The first visible top-level window of this thread of class `className`.
HWND findThreadWindow(const wchar_t* className);

// Polls this thread's windows from a thread timer, for a chain of modal
// windows that open one after another inside one call (the save dialog, then
// the confirmation or the error box): each step's action runs once with the
// first visible window of its class that no earlier step acted on. An action
// may wait for input (RealInput), which runs the loop again; the steps do not
// overlap. One sequence at a time; an exception from an action fails the test.
class WindowSequence : NonCopyable {
public:
  struct Step {
    std::wstring className;
    std::function<void(HWND)> action;
  };
  explicit WindowSequence(std::vector<Step> steps);
  ~WindowSequence();
  // How many steps have run.
  std::size_t done() const noexcept { return next_; }

private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
  std::vector<Step> steps_;
  std::vector<HWND> actedOn_;
  std::size_t next_ = 0;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
};

// Calls `action` once with the first visible window of class `className`
// (a sequence of one step).
class WhenWindowAppears : NonCopyable {
public:
  WhenWindowAppears(const wchar_t* className, std::function<void(HWND)> action)
      : sequence_({{className, std::move(action)}}) {}
  bool fired() const noexcept { return sequence_.done() == 1; }

private:
  WindowSequence sequence_;
};

// What a test does with a dialog box (#32770) once it opens, and what it saw.
struct DialogDriver {
  std::function<void(HWND)> action; // may be empty
  int command = IDOK;               // posted as WM_COMMAND after the action

  // Filled in when the dialog appeared.
  bool opened = false;
  HWND dialog = nullptr;
  HWND owner = nullptr;
  bool ownerEnabled = true;
  RECT rect{};
};

// Arms a DialogDriver for the duration of one modal call: the driver acts on
// the first dialog, a dialog still open after 15 s is closed with IDCANCEL
// (a test failure), and a run stuck for 30 s ends the process.
class DialogSession : NonCopyable {
public:
  explicit DialogSession(DialogDriver& driver);
  ~DialogSession();

private:
  static void CALLBACK rescue(HWND, UINT, UINT_PTR, DWORD);
  Watchdog watchdog_;
  WhenWindowAppears watcher_;
  UINT_PTR rescueTimer_ = 0;
};

// Calls `open`, which shows a modal dialog, with `driver` armed; returns what
// `open` returns.
template <class F> auto driveDialog(DialogDriver& driver, F&& open) {
  DialogSession session(driver);
  return open();
}

// A user's choice of entry `index` in the combo `id` of a dialog: the
// selection and the notification the dialog gets for it.
void chooseInCombo(HWND dialog, int id, LRESULT index);

// Types red, green and blue into the colour dialog's edits.
void setColourDialogRgb(HWND dialog, const wchar_t* r, const wchar_t* g, const wchar_t* b);

} // namespace sheetloom_test
