// Real mouse and keyboard input for window tests: every action goes through
// SendInput, so it meets hit-testing, capture, the focus, the key state and
// the program's own message loop (tk::runModalLoop, with its keyboard and
// dialog-navigation preprocessing) exactly as a user's input does. Nothing is
// sent straight to a control.
//
// Input is asynchronous: SendInput only queues it. Each action therefore ends
// with a marker keystroke (a key no keyboard has) and runs the program's loop
// until a hook has seen the marker taken from the queue: all input sent
// before it has then been dispatched, and so have the messages posted while
// it was handled. Actions that open a modal window (a click on a button that
// runs a dialog) return once that window has closed again; the test acts on
// the window from inside its modal loop (see modal_windows.h) with the same
// object.
//
// Keyboard input goes to the foreground window, mouse input to the window
// under the pointer: call bringToFront() first (under Wine without a window
// manager it is the program itself that makes a window foreground).
#pragma once

#include "tests/support/non_copyable.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace sheetloom_test {

enum Modifier : unsigned { NoModifier = 0, Ctrl = 1, Shift = 2, Alt = 4 };
inline Modifier operator|(Modifier a, Modifier b) {
  return static_cast<Modifier>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

class RealInput : NonCopyable {
public:
  // Installs the hook that sees the markers; one object at a time per thread.
  RealInput();
  // Releases any key or button this object still holds down.
  ~RealInput();

  // Makes `window` the active foreground window; true when it is.
  static bool bringToFront(HWND window);

  // ---- mouse, at a point of `window`'s client area (its centre by default)
  void moveTo(HWND window, POINT client);
  // A click at the place of the previous one within the double-click time
  // would make a double click: the loop runs until that time has passed.
  void click(HWND window);
  void click(HWND window, POINT client);
  void doubleClick(HWND window, POINT client);
  // Presses the left button at the point and keeps it down (a hold or a
  // drag) until mouseUp().
  void mouseDown(HWND window, POINT client);
  void mouseUp();

  // ---- keyboard
  // Presses and releases `vk` with the modifiers held around it.
  void key(WORD vk, Modifier modifiers = NoModifier);
  void keyDown(WORD vk);
  void keyUp(WORD vk);
  // Types the text: characters of the keyboard layout as their keys (with
  // Shift where needed), all others (Japanese, emoji) as Unicode packets.
  void type(std::wstring_view text);

  // Runs the program's loop for `ms` milliseconds, e.g. while a button is
  // held; a plain wait, never a condition of a test.
  void runLoopFor(DWORD ms);

  // While alive, actions only queue their input and return at once. For a
  // modal window of the system (a common dialog, a message box): its own
  // loop, with its own dialog navigation, must take the input, and it does
  // so once the test's action has returned to it.
  class LeaveToDialogLoop : NonCopyable {
  public:
    explicit LeaveToDialogLoop(RealInput& input) : input_(input), was_(input.queueOnly_) {
      input.queueOnly_ = true;
    }
    ~LeaveToDialogLoop() { input_.queueOnly_ = was_; }

  private:
    RealInput& input_;
    bool was_;
  };

  // False once an action's input failed to arrive (it was lost, or the loop
  // was stuck for longer than the time-out); the failure is also reported.
  bool ok() const noexcept { return ok_; }

private:
  void send(std::vector<INPUT> inputs);
  static INPUT keyInput(WORD vk, bool up);
  static INPUT mouseInput(DWORD flags, POINT screen);

  void waitOutDoubleClick(POINT screen);

  std::vector<WORD> keysDown_;
  POINT lastClick_{};
  DWORD lastClickTime_ = 0;
  bool clicked_ = false;
  bool buttonDown_ = false;
  bool ok_ = true;
  bool queueOnly_ = false;
};

} // namespace sheetloom_test
