// The application object: its own top-level window (the one the taskbar shows
// as "Sheetloom", owner of Form1, the dialogs and the message boxes), the
// default error display, and the main window Form1.
#pragma once

#include "toolkit/window.h"
#include "ui/tform1.h"

#include <memory>

namespace app {

// A visible window of size 0: it gives the application its taskbar button and
// stands behind every window the application opens.
class ApplicationWindow : public tk::Window {
public:
  ApplicationWindow();
  ~ApplicationWindow() override;
  // `showOnRestore`: Form1 is still hidden and appears when this window is
  // first restored from the taskbar (a start minimised).
  void setMainWindow(HWND main, bool showOnRestore) noexcept {
    main_ = main;
    showMainOnRestore_ = showOnRestore;
  }

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  HWND main_ = nullptr; // borrowed: Form1, owned by Application
  bool showMainOnRestore_ = false;
};

// The teardown is kept, as the one path that destroys the windows, and it is
// tested: the destructor destroys Form1 and this window and resets the
// application window and the error display, so that one test program can
// start and end many applications, and the application test checks that
// nothing of one stays. The program itself never runs it: run() below ends
// the process by ExitProcess right after the loop, on purpose (destroying
// Form1's windows one by one would make the end several times slower).
class Application {
public:
  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Creates Form1 and applies the launch show state: SW_SHOWMAXIMIZED
  // maximises it, SW_SHOWMINNOACTIVE starts the application minimised, any
  // other state shows it normally.
  ui::TForm1& start(int showCommand);

  // Runs the message loop until the main window has closed; the exit code.
  // Closing only hides Form1 and ends the loop: the caller ends the process
  // straight after, and the system takes every window back together (see
  // run() below).
  int run();

  HWND window() const noexcept { return window_.hwnd(); }

private:
  ApplicationWindow window_;
  std::unique_ptr<ui::TForm1> form_;
};

// The whole program: start-up, the message loop, the end. Once the loop has
// ended (the user closed the window) the process ends with the loop's exit
// code, leaving the windows to the system instead of destroying them one by one.
[[noreturn]] void run(int showCommand);

} // namespace app
