// The one subclass object for windows that the program does not create as
// tk::Window objects but must hear the messages of.
#pragma once

#include <windows.h>

#include <functional>

namespace tk {

// A subclass of a window that no tk::Window drives (a combo box's parts, a
// control another one watches): while installed, each message of the window
// reaches the handler first, which passes it on with next(). It is removed at
// the window's WM_NCDESTROY, which then runs `gone`, or with this object,
// whichever comes first. An exception from the handler or from `gone` is
// reported and the message answered with 0. Not copyable or movable: the
// system holds the object's address.
class Subclass {
public:
  using Handler = std::function<LRESULT(UINT msg, WPARAM wp, LPARAM lp)>;

  Subclass() = default;
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;
  ~Subclass() { remove(); }

  // Subclasses `hwnd` (removing this object's earlier subclass first); false
  // when the system refuses, with its reason in GetLastError(). Without a
  // handler every message passes on: the object only learns of the end.
  bool install(HWND hwnd, Handler handler = {}, std::function<void()> gone = {});
  void remove() noexcept;
  // The subclassed window (borrowed), null once removed or gone.
  HWND hwnd() const noexcept { return hwnd_; }
  // The window's own handling of a message; only from inside the handler.
  LRESULT next(UINT msg, WPARAM wp, LPARAM lp) const;

private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR ref);

  HWND hwnd_ = nullptr; // borrowed
  Handler handler_;
  std::function<void()> gone_;
};

} // namespace tk
