// The application's message loop, the nested loops of modal windows and the
// pre-translation they share; and what every modal window of the application
// shares: the owner window that the dialogs and message boxes belong to, and
// the disabling of the application's other windows while one of them is shown.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace tk {

// Offers a queued message to the top-level window it is for (keyboard and
// dialog navigation); returns true when that window consumed it.
bool preTranslate(MSG& msg);

// Runs until WM_QUIT; returns its exit code. While `idle` returns true it is
// called whenever the queue holds nothing, not even a window to paint.
int runMessageLoop(const std::function<bool()>& idle = {});

// Runs a nested loop until `done` becomes true or WM_QUIT arrives (which is
// posted again so that the outer loop ends too).
void runModalLoop(const bool& done);

// The application's own top-level window (owner of dialogs and message boxes).
// Until the application sets one, dialogs are owned by the active window.
void setApplicationWindow(HWND hwnd) noexcept;
HWND applicationWindow() noexcept;
// The owner to give a dialog: the application window, else the active window.
HWND dialogOwner() noexcept;

// Ends a mouse capture of this thread (a pressed button, a drag) the way the
// system does for its own modal windows: WM_CANCELMODE to the window that has
// it, so that it stops what the press started before a modal window takes
// the input. ModalScope does this first.
void cancelMouseCapture() noexcept;

// While alive, every enabled, visible top-level window of this thread is
// disabled, after any mouse capture is cancelled; the destructor enables them again and gives the
// activation and the keyboard focus back to the windows that had them.
class ModalScope {
public:
  ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  ~ModalScope();

private:
  static BOOL CALLBACK collect(HWND hwnd, LPARAM self);
  std::vector<HWND> disabled_; // borrowed: windows of this thread
  HWND active_;                // borrowed
  HWND focus_;                 // borrowed
};

} // namespace tk
