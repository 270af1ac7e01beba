// One base class for every window the program drives: windows of our own
// registered classes and subclassed standard controls alike. Messages arrive in
// the virtual handleMessage(); the trampolines catch every exception there, so
// none crosses into the system.
#pragma once

#include "toolkit/handles.h"

#include <windows.h>

namespace tk {

struct CreateArgs {
  DWORD exStyle = 0;
  DWORD style = 0;
  const wchar_t* text = L"";
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  HWND parent = nullptr; // borrowed
  int id = 0;            // control id (child windows only)

  // A child of `parent` with control id `id`, at x, y (pixels in the
  // parent's client area); the caller adds the styles.
  static CreateArgs child(HWND parent, int id, int x, int y, int width, int height) {
    CreateArgs a;
    a.style = WS_CHILD;
    a.parent = parent;
    a.id = id;
    a.x = x;
    a.y = y;
    a.width = width;
    a.height = height;
    return a;
  }
  static CreateArgs child(HWND parent, int id, const RECT& r) {
    return child(parent, id, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
};

// Creates a child (or any window) of a standard class, not driven by a
// Window object; throws Error with the system's code when it cannot.
HWND createChild(const wchar_t* className, const CreateArgs& args);

class Window {
public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const noexcept { return hwnd_; }

  // Destroys the window now, with its ordinary messages. A class whose window
  // has children owned by its members calls this first in its destructor, so
  // that notifications during the teardown still find the object whole.
  void destroy() noexcept;

  // The Window object behind a handle created or subclassed here, or nullptr.
  static Window* fromHandle(HWND hwnd) noexcept;

  // Gives a top-level window a chance to handle a queued message before it is
  // translated and dispatched (keyboard navigation). Returns true when handled.
  virtual bool preTranslateMessage(MSG& msg);

protected:
  // Creates a window of our own class `className`, registered on first use
  // with the given class style, cursor and background brush.
  void createOwn(const wchar_t* className, const CreateArgs& args, UINT classStyle = 0,
                 HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

  // Creates a standard control (EDIT, BUTTON, ...) and subclasses it, so that
  // its messages reach handleMessage first.
  void createControl(const wchar_t* className, const CreateArgs& args);

  virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // What the window would do without us: DefWindowProc or the control's own.
  LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);

private:
  static LRESULT CALLBACK ownProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR ref);
  LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  LRESULT deliver(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void attach(HWND hwnd) noexcept;
  void detach() noexcept;

  // The window while it exists. Not a UniqueHwnd: the window is destroyed by
  // destroy() or the destructor, and forgotten at WM_NCDESTROY, whoever
  // destroyed it.
  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
};

} // namespace tk
