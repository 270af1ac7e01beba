#include "toolkit/subclass.h"

#include "toolkit/errors.h"

#include <commctrl.h>

#include <utility>

namespace tk {

bool Subclass::install(HWND hwnd, Handler handler, std::function<void()> gone) {
  remove();
  handler_ = std::move(handler);
  gone_ = std::move(gone);
  if (!hwnd || !SetWindowSubclass(hwnd, proc, reinterpret_cast<UINT_PTR>(this),
                                  reinterpret_cast<DWORD_PTR>(this)))
    return false;
  hwnd_ = hwnd;
  return true;
}

void Subclass::remove() noexcept {
  if (HWND h = std::exchange(hwnd_, nullptr))
    RemoveWindowSubclass(h, proc, reinterpret_cast<UINT_PTR>(this));
}

LRESULT Subclass::next(UINT msg, WPARAM wp, LPARAM lp) const {
  return DefSubclassProc(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Subclass::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                DWORD_PTR ref) {
  auto* self = reinterpret_cast<Subclass*>(ref);
  if (msg == WM_NCDESTROY) {
    // The window's last message: the subclass goes first, as the system
    // asks, and the owner hears of it; `gone` may end this object.
    self->remove();
    if (const std::function<void()> gone = std::move(self->gone_))
      guarded([&] {
        gone();
        return LRESULT{0};
      });
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  if (!self->handler_)
    return DefSubclassProc(hwnd, msg, wp, lp);
  return guarded([&] { return self->handler_(msg, wp, lp); });
}

} // namespace tk
